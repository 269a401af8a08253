// Reading landmark sections: the section search and the landmark element.
#include "geomap/landmarkfile.h"

#include <algorithm>
#include <array>

#include "geomap/caltext.h"
#include "geomap/symbols.h"
#include "platform/codepage.h"
#include "support/brontal/tagscan.h"
#include "support/ostrine/textconv.h"

namespace ZELK_geomap {

namespace {

enum TLandMarkAttribute : uint8_t {
  laLat,
  laLong,
  laAlti,
  laClass,
  laUserTag,
  laColorFG,
  laColorBG,
  laSize,
  laTransp,
  laDir,
  laLeng,
  laElement,
  laId,
  laDate,
  laCapText,
  laCapSize,
  laCapFontName,
  laCapFGColor,
  laCapBGColor,
  laCapTransp,
  laCapDir,
  laCapDx,
  laCapDy,
  laCapHAlign,
  laCapVAlign,
  laCapFontStyle,
  laCount
};
constexpr std::array<std::string_view, laCount> kAttributeNames = {
    "lat",     "long",    "alti",   "class",    "usertag",  "colorfg",   "colorbg",
    "size",    "transp",  "dir",    "leng",     "element",  "id",        "date",
    "captext", "capsize", "capfnm", "capfgcol", "capbgcol", "captransp", "capdir",
    "capdx",   "capdy",   "caphal", "capval",   "capfst"};

using TValues = std::array<std::string, laCount>;

double FloatOf(const std::string& text) {
  int32_t pos = 1;
  return ScanFloat(text, true, 3, pos);
}

bool FlagOf(const std::string& text) {
  return LowerCase1252(text).find("true") != std::string::npos;
}

Platform::TDateTime TimeOf(const std::string& text) {
  int32_t errorPos = 0;
  return Zelk_strings::ScanDateTime(text, "yyyymmddHHMMSS", 0, errorPos);
}

// "1" in position 1..4: bold, italic, underline, strike-out.
Platform::TFontStyles StylesOf(const std::string& text) {
  static constexpr Platform::TFontStyle kStyles[] = {Platform::fsBold, Platform::fsItalic,
                                                     Platform::fsUnderline, Platform::fsStrikeOut};
  Platform::TFontStyles styles = 0;
  for (size_t i = 0; i < std::size(kStyles) && i < text.size(); ++i)
    if (text[i] == '1') styles |= Platform::FontStyleBit(kStyles[i]);
  return styles;
}

// 0 (no size given) stays: the platform's default size.
int32_t CaptionSizeOf(const std::string& text) {
  const int32_t size = IntegerValue(text);
  return size == 0 ? 0 : std::clamp(size, kMinCaptionSize, kMaxCaptionSize);
}

TSymbolProperties SymbolOf(const TValues& v) {
  TSymbolProperties p;
  p.Kind = ElementFromFileText(v[laElement]);
  p.Size = ClampSymbolExtent(IntegerValue(v[laSize]));
  p.FGColor = ColorValue(v[laColorFG]);
  p.BGColor = ColorValue(v[laColorBG]);
  p.Transparent = FlagOf(v[laTransp]);
  p.Direction = IntegerValue(v[laDir]);
  p.Length = ClampSymbolExtent(IntegerValue(v[laLeng]));
  return p;
}

TLMTextProperties CaptionOf(const TValues& v) {
  TLMTextProperties c;
  c.Text = TLMText::FromRaw(UnescapeXMLText(v[laCapText]));
  c.Size = CaptionSizeOf(v[laCapSize]);
  c.FontName = Platform::Cp1252ToUtf8(UnescapeXMLText(v[laCapFontName]));
  c.FontStyles = StylesOf(v[laCapFontStyle]);
  c.FGColor = ColorValue(v[laCapFGColor]);
  c.BGColor = ColorValue(v[laCapBGColor]);
  c.Transparent = FlagOf(v[laCapTransp]);
  c.dx = ClampSymbolExtent(IntegerValue(v[laCapDx]));
  c.dy = ClampSymbolExtent(IntegerValue(v[laCapDy]));
  c.Direction = IntegerValue(v[laCapDir]);
  // Kept modulo 256, as the one-byte fields of the record hold them.
  c.HAlignment = static_cast<TLMHAlignment>(static_cast<uint8_t>(IntegerValue(v[laCapHAlign])));
  c.VAlignment = static_cast<Zelk_zelkbase::TVerticalAlignment>(
      static_cast<uint8_t>(IntegerValue(v[laCapVAlign])));
  return c;
}

// An element typed over several lines, or indented with tabs, separates its
// attributes by line breaks and tabs: they count as the blanks they stand for.
bool HasLineBreaksOrTabs(const std::string& Text) {
  return std::any_of(Text.begin(), Text.end(),
                     [](char c) { return c == '\t' || c == '\r' || c == '\n'; });
}

std::string BlanksForLineBreaks(std::string Text) {
  for (char& c : Text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return Text;
}

bool IsSectionStart(const std::string& line, const std::string& wanted) {
  const std::string lower = LowerCase1252(line);
  if (lower.find("<gmlandmarks") == std::string::npos || lower.find("korvane") == std::string::npos)
    return false;
  return wanted.empty() || SectionIdentifier(line) == wanted;
}

}  // namespace

TLandMark LandMarkFromAttributes(const std::string& Attributes) {
  TValues v;
  if (HasLineBreaksOrTabs(Attributes))
    AttributeValues(BlanksForLineBreaks(Attributes), kAttributeNames, v);
  else
    AttributeValues(Attributes, kAttributeNames, v);
  TLandMark lm;
  lm.Latitude = FloatOf(v[laLat]);
  lm.Longitude = FloatOf(v[laLong]);
  lm.Altitude = FloatOf(v[laAlti]);
  lm.ClassFlag = static_cast<uint8_t>(IntegerValue(v[laClass]));
  lm.Tag = IntegerValue(v[laUserTag]);
  lm.SymbolProps = SymbolOf(v);
  lm.Caption = CaptionOf(v);
  lm.Identifier = TLMIdentifier::FromRaw(UnescapeXMLText(v[laId]));
  lm.Time = TimeOf(v[laDate]);
  return lm;
}

bool ReadLandMarks(Platform::TTextFile& F, const std::string& DataID, const TLandMarkSink& Add,
                   const TLandMarkSectionFound& SectionFound) {
  const std::string wanted = LowerCase1252(TrimBlanks(Platform::Utf8ToCp1252(DataID)));
  std::string line;
  do {
    if (!F.ReadLn(line)) return false;
  } while (!IsSectionStart(line, wanted));
  if (SectionFound) SectionFound();
  std::string attributes, content;
  for (;;) {
    const int32_t tag =
        Zelk_tagscan::ReadNextTagInTextFile(F, XMLTagViews, xtInvalid, attributes, content);
    if (tag == xtGeoMapEnd || tag == xtInvalid) return true;
    if (tag == xtLandmark && Add) Add(LandMarkFromAttributes(attributes));
  }
}

bool ReadLandMarksFromFile(const std::string& FName, const std::string& DataID,
                           const TLandMarkSink& Add, const TLandMarkSectionFound& SectionFound) {
  Platform::TTextFile f;
  if (!f.TryReset(FName)) return false;
  const bool found = ReadLandMarks(f, DataID, Add, SectionFound);
  f.Close();
  return found;
}

}  // namespace ZELK_geomap
