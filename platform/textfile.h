// Text files of the system: lines end in CR LF when written; CR LF and LF
// are both accepted when read. Text passes through unchanged (8-bit bytes).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

class TTextFile {
 public:
  TTextFile() = default;
  ~TTextFile();
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  // Opens for reading; false when the file cannot be opened.
  bool TryReset(const std::string& fileName);
  // Opens for reading; raises EInOutError when it cannot.
  void Reset(const std::string& fileName);
  // Creates or empties the file for writing; raises EInOutError.
  void Rewrite(const std::string& fileName);
  // Opens for writing at the end (creating it); raises EInOutError.
  void Append(const std::string& fileName);

  // Reads the next line without its line end; false at the end of the file.
  bool ReadLn(std::string& line);
  bool Eof();
  // Puts a line back in front of the unread input: the next ReadLn returns
  // it (several come back last in, first out). A reader that stops inside a
  // line leaves the rest of it to whoever reads on.
  void UnreadLn(std::string line) { FPending.push_back(std::move(line)); }
  void Write(std::string_view text);
  void WriteLn(std::string_view text = {});
  // Flushes and closes; raises EInOutError if buffered output could not be written.
  void Close();
  bool IsOpen() const { return FFile != nullptr; }
  const std::string& FileName() const { return FName; }

 private:
  void Check(bool ok, const char* operation);
  std::FILE* FFile = nullptr;
  std::string FName;
  bool FWriting = false;
  std::vector<std::string> FPending;  // lines put back, the next one last
};

}  // namespace Platform
