// Feeds arbitrary bytes to the symbol repository reader, paints every
// symbol it gives, and checks that what was read is stored and read back
// unchanged. The first byte picks the identifier asked for.
#include <cstdio>

#include "fuzz/fuzz_symbols.h"

using namespace ZELK_geomap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string file = fuzz_symbols::InputFile("symbolfile_fuzz", data, size);
  const std::string id = fuzz_symbols::kIds[data[0] % 4];
  TSymbolRepository repo(nullptr);
  const bool found = repo.LoadFromFile(file, id);
  if (!found && repo.NumEntries() != 0) __builtin_trap();
  for (int32_t i = 1; i <= repo.NumEntries(); ++i)
    fuzz_symbols::Paint(repo.GetValues(i).Properties);
  if (found) {
    repo.StoreOnFile(file, id);
    TSymbolRepository back(nullptr);
    if (!back.LoadFromFile(file, id) || back.NumEntries() != repo.NumEntries()) __builtin_trap();
    for (int32_t i = 1; i <= repo.NumEntries(); ++i)
      if (!(back.GetValues(i) == repo.GetValues(i))) __builtin_trap();
  }
  std::remove(file.c_str());
  return 0;
}
