// Item kind names, clearing records, and positions of items.
#include <algorithm>
#include <cmath>

#include "geodb/geodb.h"
#include "platform/datetime.h"
#include "support/ostrine/math2.h"

namespace ZELK_GeoDB {

const std::array<std::string, 9> GDB_ITEMNAMES = {"Border", "Town",  "City", "Lake",     "River",
                                                  "Road",   "Route", "BLOB", "Undefined"};

const std::string& ItemKindName(TgdbItem kind) {
  return GDB_ITEMNAMES[kind < GDB_ITEMNAMES.size() ? kind : gitUndefined];
}

bool IsPolygonKind(TgdbItem kind) {
  switch (kind) {
    case gitBorder:
    case gitCity:
    case gitLake:
    case gitRiver:
    case gitRoad:
    case gitRoute:
      return true;
    default:
      return false;
  }
}

void ClearGdbData(TgdbData& data) {
  data.Name = TgdbName();
  for (size_t i = 1; i <= TgdbName::MaxLength(); ++i) data.Name[i] = ' ';
  data.BlobOffset = -1;
  data.ItemId = 0;
  data.ClassFlag = 0;
  data.Tag = 0;
  data.ItemKind = gitUndefined;
  data.Closed = false;
  data.Date = Platform::Now();
  data.StateFlag = 0;
  data.LatLow = 0;
  data.LatHigh = 0;
  data.LongLow = 0;
  data.LongHigh = 0;
  data.Altitude = 0;
}

void ClearMetaInfo(TMetaInfo& info) {
  info.Keywords.SetLength(0);
  info.Caption.SetLength(0);
  info.FilePath.SetLength(0);
  info.Descriptor.SetLength(0);
  info.Comment.SetLength(0);
}

TSCoords ExtractLocation(const TgdbData& data) {
  return TSCoords{data.LatLow, data.LongLow};
}

namespace {
std::string Hemisphere(double value, double limit, TDegreeFormat format, int32_t n,
                       const char* negative, const char* positive) {
  const double clamped = std::clamp(value, -limit, limit);
  return Zelk_math2::DegreeToStr(std::fabs(clamped), format, n) +
         (clamped < 0 ? negative : positive);
}
}  // namespace

std::string GeoLatitude(double value, TDegreeFormat format, int32_t n) {
  return Hemisphere(value, 90, format, n, " S", " N");
}

std::string GeoLongitude(double value, TDegreeFormat format, int32_t n) {
  return Hemisphere(value, 180, format, n, " W", " E");
}

}  // namespace ZELK_GeoDB
