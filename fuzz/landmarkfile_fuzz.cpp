// Feeds arbitrary bytes to the landmark file reader and paints every
// landmark it gives. The first byte picks the identifier asked for.
#include <cstdio>

#include "fuzz/fuzz_symbols.h"

using namespace ZELK_geomap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string file = fuzz_symbols::InputFile("landmarkfile_fuzz", data, size);
  int sections = 0;
  size_t landmarks = 0;
  ReadLandMarksFromFile(
      file, fuzz_symbols::kIds[data[0] % 4],
      [&](const TLandMark& lm) {
        ++landmarks;
        const int32_t capsize = lm.Caption.Size;
        if (capsize != 0 && (capsize < kMinCaptionSize || capsize > kMaxCaptionSize))
          __builtin_trap();
        fuzz_symbols::Paint(lm.SymbolProps);
      },
      [&] { ++sections; });
  // At most one section is announced, and landmarks come only after it;
  // there cannot be more landmarks than bytes.
  if (sections > 1 || (landmarks > 0 && sections == 0) || landmarks > size) __builtin_trap();
  std::remove(file.c_str());
  return 0;
}
