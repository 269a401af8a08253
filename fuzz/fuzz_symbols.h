// Pieces shared by the landmark and symbol file targets: the input as a
// file, and a paint of every symbol read from it.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "geomap/geomap.h"
#include "platform/platform.h"

namespace fuzz_symbols {

// Identifiers the first byte of an input picks from.
inline const char* const kIds[] = {"", "north", "x", "ROADS"};

// The input after its first byte, written to a file of this process.
inline std::string InputFile(const char* target, const uint8_t* data, size_t size) {
  const std::string name =
      "/tmp/lumivar_" + std::string(target) + "_" + std::to_string(::getpid()) + ".xml";
  Platform::TMemoryStream s;
  s.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
  s.SaveToFile(name);
  return name;
}

// Values a file gave must keep a paint bounded: the symbol drawn at the
// centre of a small picture finishes and stays inside it.
inline void Paint(const ZELK_geomap::TSymbolProperties& p) {
  using ZELK_geomap::kMaxSymbolExtent;
  if (p.Size < -kMaxSymbolExtent || p.Size > kMaxSymbolExtent || p.Length < -kMaxSymbolExtent ||
      p.Length > kMaxSymbolExtent)
    __builtin_trap();
  static Platform::TBitmap* picture = [] {
    auto* b = new Platform::TBitmap;
    b->SetPixelFormat(Platform::pf15bit);
    b->SetSize(64, 48);
    return b;
  }();
  ZELK_geomap::DrawLandMarkSymbolOnCanvas(picture->Canvas(), 32, 24, p.Kind, p.FGColor, p.BGColor,
                                          p.Size, p.Direction, p.Length, p.Transparent);
}

}  // namespace fuzz_symbols
