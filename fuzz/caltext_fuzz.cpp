// Feeds arbitrary text to the scanners of the calibration dialect. The
// first byte picks the flags, so one corpus exercises every mode. Scanned
// numbers are finite, and positions only move forward within the text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "geomap/caltext.h"
#include "platform/streams.h"

using namespace ZELK_geomap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const int32_t start = static_cast<int32_t>(flags % 7) - 2;

  const int32_t end = static_cast<int32_t>(text.size()) + 1;
  int32_t pos = start;
  while (pos < end) {
    const int32_t before = pos;
    const double v = ScanFloat(text, (flags & 8) != 0, 1 + (flags >> 4) % 3, pos);
    if (!std::isfinite(v) || pos < before || pos > end) __builtin_trap();
    const int32_t afterFloat = pos;
    ScanInteger(text, pos);
    if (pos < afterFloat || pos > end) __builtin_trap();
    if (pos <= before) ++pos;  // a scan that took nothing: step over the character
  }

  pos = start;
  std::string name, value;
  while (NextAttribute(text, pos, name, value) == 0) {
  }
  AttributeValue(text, "model");
  PosOfNth("\"", text, start, 1 + flags % 5, (flags & 1) != 0);
  TrimBlanks(text);

  Platform::TMemoryStream stream;
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  stream.SetPosition(0);
  bool eof = false;
  while (!eof) ReadLineFromStream(stream, eof, flags % 6);
  return 0;
}
