// Item kind names, clearing records, and positions of items.
#include "geodb/geodb.h"
#include "platform/datetime.h"

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

}  // namespace ZELK_GeoDB
