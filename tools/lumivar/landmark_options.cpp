// The landmark options of `lumivar render`.
#include "tools/lumivar/landmark_options.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>

#include "platform/filesystem.h"

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

}  // namespace lumivar_cli
