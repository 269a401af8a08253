// Feeds arbitrary bytes to the calibration readers, as a stream and as a
// text file, through the control and through ParseCalibData. The first
// byte picks the identifier asked for.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "geomap/calfiles.h"
#include "geomap/geomap.h"
#include "platform/platform.h"

using namespace ZELK_geomap;

namespace {

const char* const kIds[] = {"", "map1", "x", "MAP1"};

std::string TempFileName() {
  return "/tmp/lumivar_calfile_fuzz_" + std::to_string(::getpid()) + ".xml";
}

void ReadAll(const uint8_t* data, size_t size, bool viaFile) {
  const std::string id = kIds[data[0] % 4];
  TGeoMap map(nullptr);
  // A calibration may name any file; the fuzzer must not wander the disk.
  map.SetOnMapImageRequest([](Platform::TObject*, std::string& name) { name = "/nonexistent"; });
  TCalibData record;
  TCalibModel model = cmUndefined;
  Platform::TMemoryStream s;
  s.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
  try {
    if (viaFile) {
      s.SaveToFile(TempFileName());
      map.LoadCalDataFromXML(TempFileName(), id);
    } else {
      s.SetPosition(0);
      map.LoadCalDataFromXML(s, id);
    }
  } catch (const EZELKGeoMapError&) {
  }
  try {
    if (viaFile) {
      ParseCalibData(TempFileName(), id, record, model);
    } else {
      s.SetPosition(0);
      ParseCalibData(&s, id, record, model);
    }
  } catch (const EZELKGeoMapError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ReadAll(data, size, (data[0] & 4) != 0);
  return 0;
}
