// Feeds arbitrary bytes to the element scanner of the XML dialect and reads
// every element until the end of the input: each call returns an index of
// the table, moves on, and hands out no more text than the input holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/streams.h"
#include "support/brontal/tagscan.h"

namespace {
const char* const kTags[] = {"geomap",     "/geomap",     "calline",      "corners",
                             "resolution", "gmlandmarks", "/gmlandmarks", "landmark",
                             "calquads",   "lmsymbols",   "/lmsymbols",   "symbol",
                             "utmzone",    "utmsouth",    "ellipsoid",    "invalidtag"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Platform::TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int64_t>(size));
  stream.SetPosition(0);
  std::string attributes, content;
  int64_t last = -1;
  // Every call either returns an element and moves on, or ends the input.
  for (;;) {
    const int32_t tag = Zelk_tagscan::ReadNextTagInStream(stream, kTags, 15, attributes, content);
    if (tag < 0 || tag > 15) __builtin_trap();
    if (tag == 15) break;
    const int64_t pos = stream.Position();
    if (pos <= last || pos > static_cast<int64_t>(size) || attributes.size() > size ||
        content.size() > size)
      __builtin_trap();
    last = pos;
  }
  return 0;
}
