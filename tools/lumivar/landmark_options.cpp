// The landmark options of `lumivar render`.
#include "tools/lumivar/landmark_options.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>

#include "geobasics/geobasics.h"
#include "platform/filesystem.h"
#include "platform/lettercase.h"

namespace lumivar_cli {

using namespace ZELK_geomap;

TLandmarkOptions TakeLandmarkOptions(Args& args) {
  TLandmarkOptions o;
  auto it = std::find(args.begin(), args.end(), "--landmarks");
  if (it != args.end()) {
    if (it + 1 == args.end()) throw UsageError("--landmarks needs a file");
    o.file = *(it + 1);
    auto end = it + 2;
    if (end != args.end() && !end->empty() && end->front() != '-') o.id = *end++;
    args.erase(it, end);
  }
  o.symbols = TakeOption(args, "--symbols");
  if (!o.symbols.empty() && o.file.empty())
    throw UsageError("--symbols restyles the landmarks of --landmarks FILE; give both");
  return o;
}

void LoadLandmarks(TGeoMap& map, const TLandmarkOptions& o) {
  if (o.file.empty()) return;
  if (!Platform::FileExists(o.file)) throw std::runtime_error("cannot open '" + o.file + "'");
  if (!map.LoadLandMarks(o.file, o.id))
    throw std::runtime_error("no landmark section" + (o.id.empty() ? "" : " '" + o.id + "'") +
                             " in '" + o.file + "'");
  if (o.symbols.empty()) return;
  TSymbolRepository repository(nullptr);
  if (!Platform::FileExists(o.symbols)) throw std::runtime_error("cannot open '" + o.symbols + "'");
  if (!repository.LoadFromFile(o.symbols, ""))
    throw std::runtime_error("no symbol repository in '" + o.symbols + "'");
  ApplySymbolRepository(map, repository);
}

int32_t ApplySymbolRepository(TGeoMap& map, const TSymbolRepository& repository) {
  // The first entry of each category from 0 to 255, looked up once.
  std::array<std::optional<TSymbolProperties>, 256> byClass;
  for (int32_t ix = 1; ix <= repository.NumEntries(); ++ix) {
    const TSymbol s = repository.GetValues(ix);
    if (s.Category >= 0 && s.Category <= 255 && !byClass[size_t(s.Category)])
      byClass[size_t(s.Category)] = s.Properties;
  }
  int32_t restyled = 0;
  for (int32_t i = 1; i <= map.NumLandMarks(); ++i) {
    TLandMark lm = map.GetLandMarkData(i);
    const auto& symbol = byClass[lm.ClassFlag];
    if (!symbol) continue;
    lm.SymbolProps = *symbol;
    map.SetLandMarkData(i, lm);
    ++restyled;
  }
  return restyled;
}

// The capitals of the country table as a landmark file, class 1, yellow
// captions right of a small square (Antarctica has none).
int32_t WriteCapitalLandmarks(const std::string& file) {
  Platform::TTextFile f;
  f.Rewrite(file);
  f.WriteLn("<?xml version=\"1.0\"?>");
  f.WriteLn("<gmlandmarks sig=\"Korvane\" vers=\"1.0\" id=\"capitals\">");
  int32_t n = 0;
  for (const ZELK_geobasics::TCountryData& c : ZELK_geobasics::CountryData) {
    if (c.Capital.Length() == 0) continue;
    const std::string id = Platform::UpperCase(c.ISO3166_3.Chars());
    f.WriteLn("<landmark lat=\"" + Platform::FloatToStrFixed(c.CapLat, 4) + "\" long=\"" +
              Platform::FloatToStrFixed(c.CapLong, 4) + "\" alti=\"" + std::to_string(c.CapAlt) +
              "\" class=\"1\" element=\"square\" size=\"2\" colorfg=\"000000FF\" id=\"" + id +
              "\" captext=\"" + ZELK_geomap::EscapeXMLText(c.Capital.Chars()) +
              "\" capsize=\"7\" capfnm=\"DejaVu Sans\" capfgcol=\"0000FFFF\" "
              "captransp=\"TRUE\" capdx=\"5\" capdy=\"0\" caphal=\"0\" capval=\"1\" />");
    ++n;
  }
  f.WriteLn("</gmlandmarks>");
  f.Close();
  return n;
}

}  // namespace lumivar_cli
