// Feeds arbitrary bytes to the BMP reader and the JPEG reader and decoder.
// Errors must come back as exceptions; crashes, leaks and undefined
// behaviour are what the sanitizers look for.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "platform/platform.h"

using namespace Platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream m;
  if (size > 0) m.Write(data, static_cast<int64_t>(size));
  // the first byte picks the reader, so both see every kind of input
  bool jpeg = size > 0 && (data[0] == 0xFF || (data[0] & 1));
  try {
    m.SetPosition(0);
    if (jpeg) {
      TJPEGImage j;
      j.LoadFromStream(m);
      // keep pictures small enough for the fuzzer's memory limit
      if (int64_t(j.Width()) * j.Height() <= 4000000) {
        TBitmap b;
        b.Assign(&j);
      }
    } else {
      TBitmap b;
      b.LoadFromStream(m);
      b.Canvas()->Pixels(b.Width() - 1, b.Height() - 1);
      // direct colours read are written and read back unchanged, in their format
      if (!IsPaletteFormat(b.PixelFormat()) && int64_t(b.Width()) * b.Height() <= 1000000) {
        TMemoryStream out;
        b.SaveToStream(out);
        out.SetPosition(0);
        TBitmap back;
        back.LoadFromStream(out);
        if (back.PixelFormat() != b.PixelFormat()) __builtin_trap();
        for (int32_t y = 0; y < b.Height(); ++y)
          for (int32_t x = 0; x < b.Width(); ++x)
            if (back.PixelAt(x, y) != b.PixelAt(x, y)) __builtin_trap();
      }
    }
  } catch (const EInOutError&) {
  }
  return 0;
}
