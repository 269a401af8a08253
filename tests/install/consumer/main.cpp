// Includes every umbrella header and calls into each installed library.
#include <cstdio>

#include "geobasics/geobasics.h"
#include "geodb/geodb.h"
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "support/brontal/brontal.h"
#include "support/ostrine/ostrine.h"

int main() {
  int32_t zone = 0;
  double easting = 0, northing = 0;
  ZELK_geobasics::LatLongToUTM(48.2085, 16.3731, ZELK_geobasics::gelWGS84, zone, easting, northing);
  ZELK_GeoDB::TGeoDB db(nullptr);
  const bool ok = zone == 33 && db.NumEntries() == 0 && db.GetGDBName().empty() &&
                  Platform::IntToStr(42) == "42" &&
                  Zelk_fileutil::StripExtension("map.jpg") == "map" &&
                  Zelk_math2::Round125(4.0) == 5.0;
  std::puts(ok ? "consumer ok" : "consumer: wrong results");
  return ok ? 0 : 1;
}
