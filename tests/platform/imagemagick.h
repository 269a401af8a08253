// ImageMagick's `convert` as an independent reference for image files;
// tests that need it skip when it is absent.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/types.h"

namespace lumivar_test {

inline bool HaveConvert() {
  return std::system("convert -version > /dev/null 2>&1") == 0;
}

inline bool Convert(const std::string& args) {
  return std::system(("convert " + args + " > /dev/null 2>&1").c_str()) == 0;
}

// Pixels of a binary PPM file (P6, maxval 255) as colours; empty for any other file.
inline std::vector<Platform::TColor> ReadPpm(const std::string& file, int32_t& w, int32_t& h) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> w >> h >> maxval;
  in.get();
  std::vector<Platform::TColor> px;
  if (magic != "P6" || maxval != 255) return px;
  for (int32_t i = 0; i < w * h; ++i) {
    unsigned char rgb[3];
    in.read(reinterpret_cast<char*>(rgb), 3);
    px.push_back(Platform::RGB(rgb[0], rgb[1], rgb[2]));
  }
  return px;
}

}  // namespace lumivar_test
