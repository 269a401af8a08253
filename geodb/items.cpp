// Adding, replacing and deleting items, and the typed wrappers per kind.
#include <cmath>

#include "geodb/geodb.h"
#include "platform/numbers.h"

namespace ZELK_GeoDB {

namespace {

bool IsNaN(float a, float b) {
  return std::isnan(a) || std::isnan(b);
}

// Why the coordinates of a new item cannot be stored, or empty. A coordinate
// that is not a number has no place in a sorted index: inserted, it would
// break the order the next open checks. Polygon kinds take their box from
// the points, the other kinds store the box as given.
std::string CoordinateFault(TgdbItem kind, const TgdbPolygon& Polygon, float LatLow, float LatHigh,
                            float LongLow, float LongHigh) {
  if (IsPolygonKind(kind)) {
    for (size_t i = 0; i < Polygon.size(); ++i)
      if (IsNaN(Polygon[i].Latit, Polygon[i].Longit))
        return "polygon point " + Platform::IntToStr(static_cast<int64_t>(i) + 1) +
               " is not a number.";
    return {};
  }
  if (IsNaN(LatLow, LatHigh) || IsNaN(LongLow, LongHigh))
    return kind == gitTown ? "the location is not a number." : "the bounding box is not a number.";
  return {};
}

}  // namespace

// Everything that would make the operation fail part-way is refused before
// the first byte is written.
void TGeoDB::CheckNewItem(const char* operation, TgdbItem ItemType, const TgdbPolygon& Polygon,
                          float LatLow, float LatHigh, float LongLow, float LongHigh,
                          const void* PBLOBData, int32_t SizeOfBLOBData, bool BLOBFromFile) const {
  const std::string fault = CoordinateFault(ItemType, Polygon, LatLow, LatHigh, LongLow, LongHigh);
  if (!fault.empty()) Fail(operation, fault);
  if (ItemType == gitBLOB && !BLOBFromFile &&
      (SizeOfBLOBData < 0 || (SizeOfBLOBData > 0 && PBLOBData == nullptr)))
    Fail(operation, "invalid BLOB data.");
}

TgdbData TGeoDB::BuildRecord(const TgdbName& Name, TgdbItem ItemType, uint8_t ClassNumber,
                             TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh,
                             float LongLow, float LongHigh, float Altitude, int32_t UserTag) const {
  TgdbData d;
  // Unused name bytes are spaces in the file.
  for (size_t i = 1; i <= TgdbName::MaxLength(); ++i) d.Name[i] = ' ';
  const std::string_view chars = Name.Chars();
  for (size_t i = 0; i < chars.size(); ++i) d.Name[i + 1] = chars[i];
  d.Name.SetLength(chars.size());
  d.BlobOffset = -1;
  d.ClassFlag = ClassNumber;
  d.Tag = UserTag;
  d.ItemKind = ItemType;
  d.LatLow = LatLow;
  d.LatHigh = LatHigh;
  d.LongLow = LongLow;
  d.LongHigh = LongHigh;
  d.Altitude = Altitude;
  d.Date = Date;
  d.StateFlag = StateFlag;
  return d;
}

void TGeoDB::WriteDataBlock(const char* operation, TgdbData& data, const TgdbPolygon& Polygon,
                            bool ClosedLine, const TMetaInfo& MInfo, const void* PBLOBData,
                            int32_t SizeOfBLOBData, bool BLOBFromFile,
                            const std::string& SourceFile) {
  if (IsPolygonKind(data.ItemKind)) {
    data.Closed = ClosedLine;
    WritePolygonBlock(operation, data, Polygon);
  } else if (data.ItemKind == gitBLOB) {
    if (BLOBFromFile)
      WriteBlobFromFile(operation, data, MInfo, SourceFile);
    else
      WriteBlobFromMemory(operation, data, MInfo, PBLOBData, SizeOfBLOBData);
  }
  // Towns and undefined items have no data block.
}

int32_t TGeoDB::OpenForAppend(const char* operation, int64_t blockSize) {
  Platform::TRecordFile& file = DataFile(true);
  const int64_t offset = file.SizeInBytes();
  // Offsets and counts are 32-bit fields of the summary record.
  if (blockSize < 0 || offset > INT32_MAX || blockSize > INT32_MAX - offset)
    Fail(operation, "the data file cannot grow beyond 2 GiB.");
  file.Seek(offset);
  return static_cast<int32_t>(offset);
}

int32_t TGeoDB::AddData(const TgdbName& Name, const TgdbPolygon& Polygon, bool ClosedLine,
                        TgdbItem ItemType, uint8_t ClassNumber, TDateTime Date, int32_t StateFlag,
                        float LatLow, float LatHigh, float LongLow, float LongHigh, float Altitude,
                        int32_t UserTag, const TMetaInfo& MInfo, const void* PBLOBData,
                        int32_t SizeOfBLOBData, bool BLOBFromFile, const std::string& SourceFile) {
  if (!IsOpen()) return -1;
  CheckNewItem("AddData", ItemType, Polygon, LatLow, LatHigh, LongLow, LongHigh, PBLOBData,
               SizeOfBLOBData, BLOBFromFile);
  Report(0);
  if (FSystemData.HighestID == INT32_MAX) Fail("AddData", "no item identifier left.");
  return Changing([&] {
    ++FSystemData.HighestID;
    WriteHeader("AddData");
    TgdbData data = BuildRecord(Name, ItemType, ClassNumber, Date, StateFlag, LatLow, LatHigh,
                                LongLow, LongHigh, Altitude, UserTag);
    data.ItemId = FSystemData.HighestID;
    WriteDataBlock("AddData", data, Polygon, ClosedLine, MInfo, PBLOBData, SizeOfBLOBData,
                   BLOBFromFile, SourceFile);
    // The record is the commit: until it is in the summary file, the item
    // does not exist for anyone opening the set.
    AppendSummaryRecord(data);
    ++FNumSumItems;
    FSumData.push_back(data);
    InsertIntoIndex(FNumSumItems, data);
    SaveIndexesIfEager();
    Report(100);
    return FNumSumItems;
  });
}

void TGeoDB::ReplaceData(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                         bool ClosedLine, TgdbItem ItemType, uint8_t ClassNumber, TDateTime Date,
                         int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                         float LongHigh, float Altitude, int32_t UserTag, const TMetaInfo& MInfo,
                         const void* PBLOBData, int32_t SizeOfBLOBData, bool BLOBFromFile,
                         const std::string& SourceFile) {
  if (!IsOpen() || DBEntry < 1 || DBEntry > FNumSumItems) return;
  CheckNewItem("ReplaceData", ItemType, Polygon, LatLow, LatHigh, LongLow, LongHigh, PBLOBData,
               SizeOfBLOBData, BLOBFromFile);
  Report(0);
  Changing([&] {
    const TgdbData old = FSumData[static_cast<size_t>(DBEntry - 1)];
    TgdbData data = BuildRecord(Name, ItemType, ClassNumber, Date, StateFlag, LatLow, LatHigh,
                                LongLow, LongHigh, Altitude, UserTag);
    data.ItemId = old.ItemId;
    // The new block is complete before the record points to it.
    WriteDataBlock("ReplaceData", data, Polygon, ClosedLine, MInfo, PBLOBData, SizeOfBLOBData,
                   BLOBFromFile, SourceFile);
    WriteSummaryRecord(DBEntry - 1, data);
    FSumData[static_cast<size_t>(DBEntry - 1)] = data;
    RemoveIndexEntries(DBEntry, old);
    InsertIntoIndex(DBEntry, data);
    SaveIndexesIfEager();
    Report(100);
  });
}

void TGeoDB::DeleteData(int32_t DbEntry) {
  if (!IsOpen() || DbEntry < 1 || DbEntry > FNumSumItems) return;
  Changing([&] {
    const size_t pos = static_cast<size_t>(DbEntry - 1);
    const int32_t lastPos = FNumSumItems - 1;
    const TgdbData deleted = FSumData[pos];
    const TgdbData last = FSumData[static_cast<size_t>(lastPos)];
    // Stopped between these two writes, the set holds the last item twice;
    // opening it finishes the deletion (FinishInterruptedDelete).
    WriteSummaryRecord(DbEntry - 1, last);
    Platform::TRecordFile& f = SummaryFile();
    f.Seek(lastPos);
    f.Truncate();
    FSumData[pos] = last;
    FSumData.pop_back();
    RemoveIndexEntries(DbEntry, deleted);
    if (DbEntry - 1 != lastPos) RenumberIndexEntries(last, lastPos, DbEntry - 1);
    --FNumSumItems;
    SaveIndexesIfEager();
  });
}

// --- typed wrappers

namespace {
const TgdbPolygon kNoPolygon;
const TMetaInfo kNoMetaInfo;
}  // namespace

#define GEODB_ADD_POLYGON(Method, Kind, Closed)                                                  \
  int32_t TGeoDB::Method(const TgdbName& Name, const TgdbPolygon& Polygon, TDateTime Date,       \
                         int32_t StateFlag, float LatLow, float LatHigh, float LongLow,          \
                         float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag) { \
    return AddData(Name, Polygon, Closed, Kind, ClassNumber, Date, StateFlag, LatLow, LatHigh,   \
                   LongLow, LongHigh, Altitude, UserTag, kNoMetaInfo, nullptr, 0, false);        \
  }

GEODB_ADD_POLYGON(AddLake, gitLake, true)
GEODB_ADD_POLYGON(AddRiver, gitRiver, false)
GEODB_ADD_POLYGON(AddRoad, gitRoad, false)
GEODB_ADD_POLYGON(AddRoute, gitRoute, false)
#undef GEODB_ADD_POLYGON

#define GEODB_REPLACE_POLYGON(Method, Kind, Closed)                                             \
  void TGeoDB::Method(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,        \
                      TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh,           \
                      float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,       \
                      int32_t UserTag) {                                                        \
    ReplaceData(DBEntry, Name, Polygon, Closed, Kind, ClassNumber, Date, StateFlag, LatLow,     \
                LatHigh, LongLow, LongHigh, Altitude, UserTag, kNoMetaInfo, nullptr, 0, false); \
  }

GEODB_REPLACE_POLYGON(ReplaceLake, gitLake, true)
GEODB_REPLACE_POLYGON(ReplaceRiver, gitRiver, false)
GEODB_REPLACE_POLYGON(ReplaceRoad, gitRoad, false)
GEODB_REPLACE_POLYGON(ReplaceRoute, gitRoute, false)
#undef GEODB_REPLACE_POLYGON

int32_t TGeoDB::AddBorder(const TgdbName& Name, const TgdbPolygon& Polygon, bool ClosedLine,
                          TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh,
                          float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,
                          int32_t UserTag) {
  return AddData(Name, Polygon, ClosedLine, gitBorder, ClassNumber, Date, StateFlag, LatLow,
                 LatHigh, LongLow, LongHigh, Altitude, UserTag, kNoMetaInfo, nullptr, 0, false);
}

int32_t TGeoDB::AddCity(const TgdbName& Name, const TgdbPolygon& Polygon, bool ClosedLine,
                        TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh,
                        float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,
                        int32_t UserTag) {
  return AddData(Name, Polygon, ClosedLine, gitCity, ClassNumber, Date, StateFlag, LatLow, LatHigh,
                 LongLow, LongHigh, Altitude, UserTag, kNoMetaInfo, nullptr, 0, false);
}

int32_t TGeoDB::AddTown(const TgdbName& Name, TDateTime Date, int32_t StateFlag, TSCoords Location,
                        float Altitude, uint8_t ClassNumber, int32_t UserTag) {
  return AddData(Name, kNoPolygon, false, gitTown, ClassNumber, Date, StateFlag, Location.Latit,
                 Location.Latit, Location.Longit, Location.Longit, Altitude, UserTag, kNoMetaInfo,
                 nullptr, 0, false);
}

void TGeoDB::ReplaceBorder(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                           bool ClosedLine, TDateTime Date, int32_t StateFlag, float LatLow,
                           float LatHigh, float LongLow, float LongHigh, float Altitude,
                           uint8_t ClassNumber, int32_t UserTag) {
  ReplaceData(DBEntry, Name, Polygon, ClosedLine, gitBorder, ClassNumber, Date, StateFlag, LatLow,
              LatHigh, LongLow, LongHigh, Altitude, UserTag, kNoMetaInfo, nullptr, 0, false);
}

void TGeoDB::ReplaceCity(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                         bool ClosedLine, TDateTime Date, int32_t StateFlag, float LatLow,
                         float LatHigh, float LongLow, float LongHigh, float Altitude,
                         uint8_t ClassNumber, int32_t UserTag) {
  ReplaceData(DBEntry, Name, Polygon, ClosedLine, gitCity, ClassNumber, Date, StateFlag, LatLow,
              LatHigh, LongLow, LongHigh, Altitude, UserTag, kNoMetaInfo, nullptr, 0, false);
}

void TGeoDB::ReplaceTown(int32_t DBEntry, const TgdbName& Name, TDateTime Date, int32_t StateFlag,
                         TSCoords Location, float Altitude, uint8_t ClassNumber, int32_t UserTag) {
  ReplaceData(DBEntry, Name, kNoPolygon, false, gitTown, ClassNumber, Date, StateFlag,
              Location.Latit, Location.Latit, Location.Longit, Location.Longit, Altitude, UserTag,
              kNoMetaInfo, nullptr, 0, false);
}

}  // namespace ZELK_GeoDB
