// The symbol repository: its entry list, backup, assignment and file.
#include "geomap/symbolrepository.h"

#include <algorithm>
#include <array>
#include <typeinfo>

#include "geomap/caltext.h"
#include "platform/atomicfile.h"
#include "platform/codepage.h"
#include "platform/numbers.h"
#include "support/brontal/tagscan.h"
#include "support/ostrine/textconv.h"

namespace ZELK_geomap {

namespace {

constexpr int32_t kBlock = 1000;

// The attributes of a symbol element, in the order they are written.
enum TSymbolAttribute : uint8_t {
  saElement,
  saName,
  saCategory,
  saColorFG,
  saColorBG,
  saSize,
  saTransp,
  saDir,
  saLeng,
  saCount
};
constexpr std::array<std::string_view, saCount> kAttributeNames = {
    "element", "name", "category", "colorfg", "colorbg", "size", "transp", "dir", "leng"};

std::string KindName(TLandMarkElement kind) {
  // A kind without a name (not one of the ten) is read back as a cross either way.
  return kind < LMTypeNames.size() ? LMTypeNames[kind] : LMTypeNames[lmPlus];
}

std::string SymbolLine(const TSymbol& s) {
  const TSymbolProperties& p = s.Properties;
  auto attribute = [](std::string_view name, const std::string& value) {
    return std::string(name) + "=\"" + value + "\" ";
  };
  const std::string values[saCount] = {KindName(p.Kind),
                                       EscapeXMLText(s.Name.Chars()),
                                       Platform::IntToStr(s.Category),
                                       Zelk_strings::Hex(p.FGColor, 8),
                                       Zelk_strings::Hex(p.BGColor, 8),
                                       Platform::IntToStr(p.Size),
                                       BoolToText(p.Transparent, 0),
                                       Platform::IntToStr(p.Direction),
                                       Platform::IntToStr(p.Length)};
  std::string line = "<" + XMLTagNames[xtSymbol] + " ";
  for (int i = 0; i < saCount; ++i) line += attribute(kAttributeNames[i], values[i]);
  return line + "/>";
}

TSymbol SymbolFromAttributes(const std::string& attributes) {
  std::array<std::string, saCount> v;
  AttributeValues(attributes, kAttributeNames, v);
  TSymbol s;
  TSymbolProperties& p = s.Properties;
  p.Kind = ElementFromFileText(v[saElement]);
  p.Size = ClampSymbolExtent(IntegerValue(v[saSize]));
  p.FGColor = ColorValue(v[saColorFG]);
  p.BGColor = ColorValue(v[saColorBG]);
  p.Transparent = LowerCase1252(v[saTransp]).find("true") != std::string::npos;
  p.Direction = IntegerValue(v[saDir]);
  p.Length = ClampSymbolExtent(IntegerValue(v[saLeng]));
  s.Name = TSymbolName::FromRaw(UnescapeXMLText(v[saName]));
  s.Category = IntegerValue(v[saCategory]);
  return s;
}

// Whether a line opens the repository section DataID (lower case, trimmed;
// empty for any).
bool IsSectionStart(const std::string& line, const std::string& wanted) {
  const std::string lower = LowerCase1252(line);
  if (lower.find("<lmsymbols") == std::string::npos || lower.find("korvane") == std::string::npos)
    return false;
  return wanted.empty() || SectionIdentifier(line) == wanted;
}

}  // namespace

TSymbolRepository::TSymbolRepository(Platform::TComponent* AOwner)
    : Platform::TComponent(AOwner), FSymbols(kBlock) {}

TSymbolRepository::~TSymbolRepository() = default;

void TSymbolRepository::SetNEntries(int32_t n) {
  if (n < 0) return;
  FSymbols.resize(static_cast<size_t>(n));
  FNEntries = n;
}

TSymbol TSymbolRepository::GetValues(int32_t ix) const {
  return InRange(ix) ? FSymbols[static_cast<size_t>(ix - 1)] : DefaultSymbolRecord();
}

void TSymbolRepository::SetValues(int32_t ix, const TSymbol& v) {
  if (InRange(ix)) FSymbols[static_cast<size_t>(ix - 1)] = v;
}

void TSymbolRepository::Clear() {
  std::fill_n(FSymbols.begin(), FNEntries, DefaultSymbolRecord());
}

void TSymbolRepository::Backup() {
  FSymbolsBak.assign(FSymbols.begin(), FSymbols.begin() + FNEntries);
  FNEntriesBak = FNEntries;
}

void TSymbolRepository::Restore() {
  FSymbols = FSymbolsBak;
  FNEntries = FNEntriesBak;
}

void TSymbolRepository::Assign(const Platform::TPersistent* Source) {
  const auto* src = dynamic_cast<const TSymbolRepository*>(Source);
  if (src == nullptr) {
    Platform::TComponent::Assign(Source);
    return;
  }
  if (src == this) return;
  FSymbols = src->FSymbols;
  FSymbolsBak = src->FSymbolsBak;
  FNEntries = src->FNEntries;
  FNEntriesBak = src->FNEntriesBak;
}

void TSymbolRepository::AssignTo(Platform::TPersistent* Dest) const {
  // Only into a repository of this class (or a base of it that is one).
  auto* dest = dynamic_cast<TSymbolRepository*>(Dest);
  if (dest != nullptr &&
      (typeid(*dest) == typeid(TSymbolRepository) || typeid(*dest) == typeid(*this))) {
    dest->Assign(this);
    return;
  }
  Platform::TComponent::AssignTo(Dest);
}

void TSymbolRepository::StoreOnFile(const std::string& FName, const std::string& DataID) const {
  // a failed store keeps the file that was there
  Platform::WriteFileAtomically(FName, [&](const std::string& temp) { WriteFile(temp, DataID); });
}

void TSymbolRepository::WriteFile(const std::string& FName, const std::string& DataID) const {
  Platform::TTextFile f;
  f.Rewrite(FName);
  f.WriteLn("<?xml version=\"1.0\"?>");
  f.WriteLn("");
  f.WriteLn("<!-- TGeoMap Landmark Repository / Korvane Suite -->");
  f.WriteLn("<" + XMLTagNames[xtSymbols] + " sig=\"Korvane\" vers=\"1.0\" id=\"" +
            EscapeXMLText(Platform::Utf8ToCp1252(DataID)) + "\">");
  for (int32_t i = 0; i < FNEntries; ++i) f.WriteLn(SymbolLine(FSymbols[static_cast<size_t>(i)]));
  f.WriteLn("<" + XMLTagNames[xtSymbolsEnd] + ">");
  f.Close();
}

bool TSymbolRepository::LoadFromFile(const std::string& FName, const std::string& DataID) {
  Platform::TTextFile f;
  if (!f.TryReset(FName)) return false;
  const bool found = ReadFromOpenXMLFile(f, DataID);
  f.Close();
  return found;
}

bool TSymbolRepository::ReadFromOpenXMLFile(Platform::TTextFile& InFile,
                                            const std::string& DataID) {
  const std::string wanted = LowerCase1252(TrimBlanks(Platform::Utf8ToCp1252(DataID)));
  std::string line;
  for (;;) {
    if (!InFile.ReadLn(line)) return false;
    if (IsSectionStart(line, wanted)) break;
  }
  FSymbols.clear();
  FSymbols.resize(kBlock);
  FNEntries = 0;
  std::string attributes, content;
  for (;;) {
    const int32_t tag =
        Zelk_tagscan::ReadNextTagInTextFile(InFile, XMLTagViews, xtInvalid, attributes, content);
    if (tag == xtGeoMapEnd || tag == xtInvalid) break;
    if (tag == xtSymbol) Append(SymbolFromAttributes(attributes));
  }
  return true;
}

void TSymbolRepository::Append(const TSymbol& s) {
  ++FNEntries;
  if (FNEntries > kBlock && FNEntries % kBlock == 1)
    FSymbols.resize(static_cast<size_t>(FNEntries) + kBlock);
  FSymbols[static_cast<size_t>(FNEntries - 1)] = s;
}

}  // namespace ZELK_geomap
