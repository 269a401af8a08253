// Feeds arbitrary bytes to the calibration readers, as a stream and as a
// text file, through the control and through ParseCalibData. The first
// byte picks the identifier asked for. A calibration that reads is written
// and read again: the second reading must give what the writer was handed,
// up to the decimals it writes, and a third reading exactly the second.
#include <unistd.h>

#include <cmath>
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

std::string TempFileName(const char* what) {
  static const std::string dir = Platform::DirectoryExists("/dev/shm") ? "/dev/shm" : "/tmp";
  return dir + "/lumivar_calfile_fuzz_" + std::to_string(::getpid()) + what;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// a and b agree to the given number of decimals (plus the last bits of a large value).
bool Near(double a, double b, double decimals) {
  return std::fabs(a - b) <= 0.5000001 * std::pow(10.0, -decimals) + 4e-16 * std::fabs(a);
}

// The calibration as the writer writes it and the reader reads it back.
TCalibData WrittenAndRead(const TCalibData& record, TCalibModel model, TCalibModel& modelRead) {
  const std::string name = TempFileName("_round.xml");
  Platform::TTextFile f;
  f.Rewrite(name);
  WriteRawCalDataToOpenXMLFile(f, true, "round", record, model);
  f.Close();
  TCalibData back;
  modelRead = cmUndefined;
  Check(ParseCalibData(name, "round", back, modelRead));
  return back;
}

void CheckRoundTrip(const TCalibData& r1, TCalibModel m1) {
  TCalibModel m2, m3;
  const TCalibData r2 = WrittenAndRead(r1, m1, m2);
  Check(m2 == m1);
  Check(r2.NumCalLines == r1.NumCalLines && r2.NumCalQuads == r1.NumCalQuads);
  Check(r2.Ellipsoid == r1.Ellipsoid);
  Check(r2.Caption == r1.Caption && r2.MapFName == r1.MapFName);
  for (size_t c = 0; c < r1.Corners.size(); ++c)
    Check(Near(r1.Corners[c].Latit, r2.Corners[c].Latit, 5) &&
          Near(r1.Corners[c].Longit, r2.Corners[c].Longit, 5));
  if (r1.Resolution > 0) Check(Near(r1.Resolution, r2.Resolution, 3));
  if (r1.UTMZone >= 1 && r1.UTMZone <= 60)
    Check(r2.UTMZone == r1.UTMZone && r2.UTMSouth == r1.UTMSouth);
  for (int32_t i = 1; i <= r1.NumCalLines; ++i) {
    const TCalibLine &a = r1.CalLines[i], &b = r2.CalLines[i];
    Check(a.LineType == b.LineType && a.NumPoints == b.NumPoints && a.CalPoints == b.CalPoints);
    Check(std::fabs(a.LineValue - b.LineValue) <= 1e-14 * std::fabs(a.LineValue));
  }
  for (int32_t i = 1; i <= r1.NumCalQuads; ++i) {
    const TCalQuad &a = r1.CalQuads[i], &b = r2.CalQuads[i];
    Check(a.MapX == b.MapX && a.MapY == b.MapY && Near(a.Latitude, b.Latitude, 5) &&
          Near(a.Longitude, b.Longitude, 5));
  }
  const TCalibData r3 = WrittenAndRead(r2, m2, m3);
  Check(m3 == m2 && r3 == r2);
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
      s.SaveToFile(TempFileName(".xml"));
      map.LoadCalDataFromXML(TempFileName(".xml"), id);
    } else {
      s.SetPosition(0);
      map.LoadCalDataFromXML(s, id);
    }
  } catch (const EZELKGeoMapError&) {
  }
  bool read = false;
  try {
    if (viaFile) {
      read = ParseCalibData(TempFileName(".xml"), id, record, model);
    } else {
      s.SetPosition(0);
      read = ParseCalibData(&s, id, record, model);
    }
  } catch (const EZELKGeoMapError&) {
    read = false;
  }
  if (read) CheckRoundTrip(record, model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ReadAll(data, size, (data[0] & 4) != 0);
  return 0;
}
