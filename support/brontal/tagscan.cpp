#include "support/brontal/tagscan.h"

#include <algorithm>
#include <vector>

#include "platform/lettercase.h"

namespace Zelk_tagscan {

void WriteLnStream(Platform::TStream& Stream, std::string_view Text) {
  std::string line;
  line.reserve(Text.size() + 2);
  line.append(Text);
  line.append("\r\n");
  Stream.WriteBuffer(line.data(), static_cast<int64_t>(line.size()));
}

namespace {

using Platform::SameText;

// Where the scanner's characters come from. Both sources hand back what the
// scanner read beyond the element it returns.
class TCharSource {
 public:
  virtual ~TCharSource() = default;
  // Appends more input; false at the end of the input.
  virtual bool More(std::string& buffer) = 0;
  // Returns the unread tail of what More delivered.
  virtual void GiveBack(std::string_view tail) = 0;
};

// A text file, one line at a time, each followed by "\n".
class TTextFileSource : public TCharSource {
 public:
  explicit TTextFileSource(Platform::TTextFile& f) : FFile(f) {}
  bool More(std::string& buffer) override {
    if (!FFile.ReadLn(FLine)) return false;
    buffer += FLine;
    buffer += '\n';
    return true;
  }
  void GiveBack(std::string_view tail) override {
    if (!tail.empty() && tail.back() == '\n') tail.remove_suffix(1);
    std::vector<std::string_view> lines;
    for (size_t start = 0;;) {
      const size_t nl = tail.find('\n', start);
      lines.push_back(tail.substr(start, nl == std::string_view::npos ? nl : nl - start));
      if (nl == std::string_view::npos) break;
      start = nl + 1;
    }
    // Only blanks left of the line: nothing worth a line of its own.
    if (lines.size() == 1 && lines[0].find_first_not_of(" \t\r") == std::string_view::npos) return;
    // Lines come back last in, first out.
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) FFile.UnreadLn(std::string(*it));
  }

 private:
  Platform::TTextFile& FFile;
  std::string FLine;
};

// A stream, in blocks; the unread tail is returned by seeking back.
class TStreamSource : public TCharSource {
 public:
  explicit TStreamSource(Platform::TStream& s) : FStream(s) {}
  bool More(std::string& buffer) override {
    const size_t old = buffer.size();
    buffer.resize(old + kBlock);
    const int64_t n = std::max<int64_t>(0, FStream.Read(buffer.data() + old, kBlock));
    buffer.resize(old + static_cast<size_t>(n));
    return n > 0;
  }
  void GiveBack(std::string_view tail) override {
    if (!tail.empty()) FStream.Seek(-static_cast<int64_t>(tail.size()), Platform::soCurrent);
  }

 private:
  static constexpr int64_t kBlock = 1024;  // small: the unread rest is read again
  Platform::TStream& FStream;
};

bool IsBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

enum class TMarkupKind { Start, Empty, End, Other, Text };

// One piece of markup found at a "<": its kind, name and attribute text as
// ranges of the buffer, and the position after it.
struct TMarkup {
  TMarkupKind kind = TMarkupKind::Text;
  size_t nameBegin = 0, nameEnd = 0, attrBegin = 0, attrEnd = 0, end = 0;
};

class TScanner {
 public:
  TScanner(TCharSource& source, std::span<const std::string_view> names, int32_t last)
      : FSource(source),
        FNames(names.first(std::min<size_t>(names.size(), static_cast<size_t>(last) + 1))),
        FLast(last) {}

  int32_t Next(std::string& attributes, std::string& content) {
    attributes.clear();
    content.clear();
    for (;;) {
      size_t lt;
      if (!FindNext('<', FPos, lt, true)) return AtEnd();
      TMarkup m;
      if (!Parse(lt, m)) return AtEnd();
      FPos = m.end;
      if (m.kind == TMarkupKind::End) {
        const int32_t ix = Lookup(Name(m), true);
        if (ix >= 0) return Found(ix);
      } else if (m.kind == TMarkupKind::Start || m.kind == TMarkupKind::Empty) {
        const int32_t ix = Lookup(Name(m), false);
        if (ix < 0) continue;
        attributes.assign(FBuf, m.attrBegin, m.attrEnd - m.attrBegin);
        if (m.kind == TMarkupKind::Empty || Lookup(Name(m), true) >= 0) return Found(ix);
        const std::string name(Name(m));
        size_t contentEnd;
        if (!ReadToEndTag(name, contentEnd)) {
          attributes.clear();
          return AtEnd();
        }
        content.assign(FBuf, m.end, contentEnd - m.end);
        return Found(ix);
      }
    }
  }

 private:
  // Character i of the input, reading more as needed; -1 past the end.
  int At(size_t i) {
    while (i >= FBuf.size()) {
      if (FEof || !FSource.More(FBuf)) {
        FEof = true;
        return -1;
      }
    }
    return static_cast<unsigned char>(FBuf[i]);
  }

  // Finds c at or after from. With discard, text passed over is dropped from
  // the buffer (positions shift), so skipping a long stretch costs no memory.
  bool FindNext(char c, size_t from, size_t& at, bool discard) {
    for (;;) {
      const size_t k = FBuf.find(c, from);
      if (k != std::string::npos) {
        at = k;
        return true;
      }
      from = FBuf.size();
      if (discard) {
        FBuf.clear();
        from = FPos = 0;
      }
      if (At(from) < 0) return false;
    }
  }

  // Finds the text s at or after from; at is where it starts.
  bool FindText(std::string_view s, size_t from, size_t& at) {
    for (size_t i = from;; ++i) {
      if (!FindNext(s[0], i, i, false)) return false;
      size_t k = 1;
      while (k < s.size() && At(i + k) == static_cast<unsigned char>(s[k])) ++k;
      if (k == s.size()) {
        at = i;
        return true;
      }
      if (At(i + k) < 0) return false;
    }
  }

  // Lazy match of s at i: reads no further than the first difference.
  bool Matches(size_t i, std::string_view s) {
    for (size_t k = 0; k < s.size(); ++k)
      if (At(i + k) != static_cast<unsigned char>(s[k])) return false;
    return true;
  }

  // The ">" that ends a tag whose inside starts at from. A ">" between
  // double quotes does not end it; when a line ends inside quotes (an
  // unbalanced quote in a value), the last ">" seen on that line does.
  bool FindTagEnd(size_t from, size_t& gt) {
    bool inQuote = false;
    size_t lastGt = std::string::npos;
    for (size_t i = from;; ++i) {
      const int c = At(i);
      if (c < 0) return false;
      if (c == '"') {
        inQuote = !inQuote;
      } else if (c == '>') {
        if (!inQuote) {
          gt = i;
          return true;
        }
        lastGt = i;
      } else if (c == '\n') {
        if (inQuote && lastGt != std::string::npos) {
          gt = lastGt;
          return true;
        }
        inQuote = false;
        lastGt = std::string::npos;
      }
    }
  }

  bool Parse(size_t lt, TMarkup& m) {
    const int c = At(lt + 1);
    size_t stop;
    if (c == '!' || c == '?') {
      m.kind = TMarkupKind::Other;
      if (Matches(lt + 1, "!--")) {
        if (!FindText("-->", lt + 4, stop)) return false;
        m.end = stop + 3;
      } else if (Matches(lt + 1, "![CDATA[")) {
        if (!FindText("]]>", lt + 9, stop)) return false;
        m.end = stop + 3;
      } else {
        if (!FindNext('>', lt + 2, stop, false)) return false;
        m.end = stop + 1;
      }
      return true;
    }
    if (c == '/') {
      m.kind = TMarkupKind::End;
      m.nameBegin = m.nameEnd = lt + 2;
    } else if (IsNameStart(c)) {
      m.kind = TMarkupKind::Start;
      m.nameBegin = m.nameEnd = lt + 1;
    } else {
      m.kind = TMarkupKind::Text;  // a "<" in running text
      m.end = lt + 1;
      return true;
    }
    for (int ch; (ch = At(m.nameEnd)) >= 0 && !IsBlank(ch) && ch != '/' && ch != '>';) ++m.nameEnd;
    if (!FindTagEnd(m.nameEnd, stop)) return false;
    m.end = stop + 1;
    m.attrBegin = m.nameEnd;
    m.attrEnd = stop;
    if (m.kind == TMarkupKind::Start) {
      size_t k = stop;
      while (k > m.attrBegin && IsBlank(static_cast<unsigned char>(FBuf[k - 1]))) --k;
      if (k > m.attrBegin && FBuf[k - 1] == '/') {
        m.kind = TMarkupKind::Empty;
        m.attrEnd = k - 1;
      }
    }
    return true;
  }

  std::string_view Name(const TMarkup& m) const {
    return std::string_view(FBuf).substr(m.nameBegin, m.nameEnd - m.nameBegin);
  }

  int32_t Lookup(std::string_view name, bool endTag) const {
    for (size_t i = 0; i < FNames.size(); ++i) {
      std::string_view entry = FNames[i];
      if (endTag) {
        if (entry.empty() || entry[0] != '/') continue;
        entry.remove_prefix(1);
      }
      if (SameText(entry, name)) return static_cast<int32_t>(i);
    }
    return -1;
  }

  // Reads on to the end tag that closes an element of this name, counting
  // nested elements of the same name; contentEnd is where that tag starts.
  bool ReadToEndTag(const std::string& name, size_t& contentEnd) {
    int depth = 0;
    size_t pos = FPos;
    for (;;) {
      size_t lt;
      if (!FindNext('<', pos, lt, false)) return false;
      TMarkup m;
      if (!Parse(lt, m)) return false;
      pos = m.end;
      if (m.kind == TMarkupKind::Start && SameText(Name(m), name)) {
        ++depth;
      } else if (m.kind == TMarkupKind::End && SameText(Name(m), name)) {
        if (depth == 0) {
          contentEnd = lt;
          FPos = m.end;
          return true;
        }
        --depth;
      }
    }
  }

  int32_t Found(int32_t ix) {
    // Blanks up to the end of the element's line go with it, so that a
    // line reader goes on with the next line, from a file or a stream alike.
    size_t i = FPos;
    int c;
    while ((c = At(i)) == ' ' || c == '\t' || c == '\r') ++i;
    if (c == '\n') FPos = i + 1;
    FSource.GiveBack(std::string_view(FBuf).substr(FPos));
    return ix;
  }

  int32_t AtEnd() { return FLast; }

  TCharSource& FSource;
  std::span<const std::string_view> FNames;
  int32_t FLast;
  std::string FBuf;
  size_t FPos = 0;
  bool FEof = false;
};

int32_t Scan(TCharSource& source, std::span<const std::string_view> names, int32_t last,
             std::string& attributes, std::string& content) {
  attributes.clear();
  content.clear();
  if (last < 0) return last;
  return TScanner(source, names, last).Next(attributes, content);
}

}  // namespace

int32_t ReadNextTagInTextFile(Platform::TTextFile& F, std::span<const std::string_view> TagNames,
                              int32_t Last, std::string& Attributes, std::string& Content) {
  TTextFileSource source(F);
  return Scan(source, TagNames, Last, Attributes, Content);
}

int32_t ReadNextTagInStream(Platform::TStream& Stream, std::span<const std::string_view> TagNames,
                            int32_t Last, std::string& Attributes, std::string& Content) {
  TStreamSource source(Stream);
  return Scan(source, TagNames, Last, Attributes, Content);
}

}  // namespace Zelk_tagscan
