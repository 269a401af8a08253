// Geographic database: a set of seven files holding named items (borders,
// towns, cities, lakes, rivers, roads, routes and binary objects) with their
// bounding boxes, found through five sorted in-memory indexes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "geodb/sortedindex.h"
#include "platform/codepage.h"
#include "platform/component.h"
#include "platform/recordfile.h"
#include "platform/streams.h"
#include "platform/types.h"
#include "support/brontal/zelkbase.h"

namespace ZELK_GeoDB {

using Platform::TDateTime;
using Zelk_zelkbase::TDegreeFormat;
using Zelk_zelkbase::TOnPercentDoneEvent;

class EZELKGeoDBError : public Zelk_zelkbase::EZELKError {
 public:
  using EZELKError::EZELKError;
};

enum TgdbItem : uint8_t {
  gitBorder,
  gitTown,
  gitCity,
  gitLake,
  gitRiver,
  gitRoad,
  gitRoute,
  gitBLOB,
  gitUndefined
};

// Display names indexed by TgdbItem.
extern const std::array<std::string, 9> GDB_ITEMNAMES;
// The display name of a kind byte as stored; "Undefined" for values beyond the table.
const std::string& ItemKindName(TgdbItem kind);
// True for the kinds that carry a polygon block.
bool IsPolygonKind(TgdbItem kind);

using TgdbName = Platform::ShortString<59>;

struct TSCoords {
  float Latit = 0;
  float Longit = 0;
};
using TgdbPolygon = std::vector<TSCoords>;

// Summary record of one item (120 bytes on disk).
struct TgdbData {
  int32_t ItemId = 0;
  TgdbName Name;
  float Altitude = 0;
  uint8_t ClassFlag = 0;
  int32_t Tag = 0;
  int32_t BlobOffset = -1;
  TDateTime Date = 0;
  int32_t StateFlag = 0;
  float LatLow = 0;
  float LatHigh = 0;
  float LongLow = 0;
  float LongHigh = 0;
  TgdbItem ItemKind = gitUndefined;
  // Number of points of a polygon kind, or the byte count of a BLOB
  // (the same four bytes of the record; see Size()).
  int32_t NumPoints = 0;
  bool Closed = false;

  int32_t Size() const { return NumPoints; }
  void SetSize(int32_t value) { NumPoints = value; }
};

enum TMetaItem : uint8_t { miKwd, miCaption, miFilePath, miDescriptor, miComment };

// Meta information stored in front of every BLOB (1024 bytes on disk).
struct TMetaInfo {
  Platform::ShortString<255> Keywords;
  Platform::ShortString<127> Caption;
  Platform::ShortString<127> FilePath;
  Platform::ShortString<255> Descriptor;
  Platform::ShortString<255> Comment;
};

// Header of the data file (260 bytes on disk).
struct TgdbSystemData {
  int32_t HighestID = 0;
  int32_t DBVersion = 4;
  Platform::ShortString<63> Description;
  int32_t Revision = 0;
  std::array<uint8_t, 184> Reserved{};
};

struct TIxItemIDRec {
  int32_t ItemID = 0;
  int32_t index = 0;
};
struct TIxLLRec {
  float LLValue = 0;
  int32_t index = 0;
};
using TIxItemIDRecArray = std::vector<TIxItemIDRec>;
using TIxLLRecArray = std::vector<TIxLLRec>;

struct TPositionData {
  double Latit = 0;
  double Longit = 0;
  double Height = 0;
};

// Resets a summary record (name of spaces, no data block, undefined kind,
// the current date); NumPoints/Size is left as it was.
void ClearGdbData(TgdbData& data);
void ClearMetaInfo(TMetaInfo& info);
// The position of a town: its low corner.
TSCoords ExtractLocation(const TgdbData& data);
// Latitude (clamped to -90..90) as text with " N"/" S"; longitude (clamped
// to -180..180) with " E"/" W". n is the number of decimals.
std::string GeoLatitude(double value, TDegreeFormat format, int32_t n);
std::string GeoLongitude(double value, TDegreeFormat format, int32_t n);

class TGeoDB : public Platform::TComponent {
 public:
  explicit TGeoDB(Platform::TComponent* AOwner);
  ~TGeoDB() override;
  std::string ClassName() const override { return "TGeoDB"; }

  // --- files and header
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool Value);
  std::string GetGDBName() const;
  // Opens (creating missing files) or, with an empty name, closes.
  void SetGDBName(const std::string& Name);
  int32_t NumEntries() const { return FNumSumItems; }
  const TOnPercentDoneEvent& OnPercentDone() const { return FOnPercentDone; }
  void SetOnPercentDone(TOnPercentDoneEvent handler) { FOnPercentDone = std::move(handler); }
  bool OnPercDoneEnabled() const { return FOnPercDoneEnabled; }
  void SetOnPercDoneEnabled(bool value) { FOnPercDoneEnabled = value; }
  std::string GetDescription() const;
  void SetDescription(const std::string& Value);
  int32_t GetRevision() const { return FSystemData.Revision; }
  void SetRevision(int32_t Value);
  int32_t GetDBVersion() const { return FSystemData.DBVersion; }
  // Entry ix (1-based, clamped to 1..NumEntries).
  TgdbData GetSumdata(int32_t ix) const;

  // --- indexes
  TIxItemIDRec GetIxItemID(int32_t ix) const;
  TIxLLRec GetIxLatLow(int32_t ix) const;
  TIxLLRec GetIxLatHigh(int32_t ix) const;
  TIxLLRec GetIxLongLow(int32_t ix) const;
  TIxLLRec GetIxLongHigh(int32_t ix) const;
  // Entry number of the item with that identifier, 0 when there is none.
  int32_t SearchForItemID(int32_t ItemID) const;
  int32_t GetClosestItemIDIx(int32_t ItemID) const;
  int32_t GetClosestLatLowIx(double Latit) const;
  int32_t GetClosestLatHighIx(double Latit) const;
  int32_t GetClosestLongLowIx(double Longit) const;
  int32_t GetClosestLongHighIx(double Longit) const;

  // --- items
  int32_t AddBorder(const TgdbName& Name, const TgdbPolygon& Polygon, bool ClosedLine,
                    TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                    float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag);
  int32_t AddCity(const TgdbName& Name, const TgdbPolygon& Polygon, bool ClosedLine, TDateTime Date,
                  int32_t StateFlag, float LatLow, float LatHigh, float LongLow, float LongHigh,
                  float Altitude, uint8_t ClassNumber, int32_t UserTag);
  int32_t AddLake(const TgdbName& Name, const TgdbPolygon& Polygon, TDateTime Date,
                  int32_t StateFlag, float LatLow, float LatHigh, float LongLow, float LongHigh,
                  float Altitude, uint8_t ClassNumber, int32_t UserTag);
  int32_t AddRiver(const TgdbName& Name, const TgdbPolygon& Polygon, TDateTime Date,
                   int32_t StateFlag, float LatLow, float LatHigh, float LongLow, float LongHigh,
                   float Altitude, uint8_t ClassNumber, int32_t UserTag);
  int32_t AddRoad(const TgdbName& Name, const TgdbPolygon& Polygon, TDateTime Date,
                  int32_t StateFlag, float LatLow, float LatHigh, float LongLow, float LongHigh,
                  float Altitude, uint8_t ClassNumber, int32_t UserTag);
  int32_t AddRoute(const TgdbName& Name, const TgdbPolygon& Polygon, TDateTime Date,
                   int32_t StateFlag, float LatLow, float LatHigh, float LongLow, float LongHigh,
                   float Altitude, uint8_t ClassNumber, int32_t UserTag);
  int32_t AddTown(const TgdbName& Name, TDateTime Date, int32_t StateFlag, TSCoords Location,
                  float Altitude, uint8_t ClassNumber, int32_t UserTag);

  void ReplaceBorder(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                     bool ClosedLine, TDateTime Date, int32_t StateFlag, float LatLow,
                     float LatHigh, float LongLow, float LongHigh, float Altitude,
                     uint8_t ClassNumber, int32_t UserTag);
  void ReplaceCity(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                   bool ClosedLine, TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh,
                   float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,
                   int32_t UserTag);
  void ReplaceLake(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                   TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                   float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag);
  void ReplaceRiver(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                    TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                    float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag);
  void ReplaceRoad(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                   TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                   float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag);
  void ReplaceRoute(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                    TDateTime Date, int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                    float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag);
  void ReplaceTown(int32_t DBEntry, const TgdbName& Name, TDateTime Date, int32_t StateFlag,
                   TSCoords Location, float Altitude, uint8_t ClassNumber, int32_t UserTag);

  // Removes an entry; the last entry moves into its place.
  void DeleteData(int32_t DbEntry);

  // --- BLOBs and polygons
  int32_t AddBLOB(const std::string& FileName, TDateTime Date, int32_t StateFlag, float LatLow,
                  float LatHigh, float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,
                  int32_t UserTag, const TMetaInfo& MInfo);
  int32_t AddBLOB(const std::string& FileName, const std::string& FNameInDB, TDateTime Date,
                  int32_t StateFlag, float LatLow, float LatHigh, float LongLow, float LongHigh,
                  float Altitude, uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo);
  int32_t AddBLOB(const std::string& FileName, const std::string& FNameInDB,
                  const std::string& OrgFilePath, TDateTime Date, int32_t StateFlag, float LatLow,
                  float LatHigh, float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,
                  int32_t UserTag, const TMetaInfo& MInfo);
  int32_t AddBLOB(const std::string& Name, TDateTime Date, int32_t StateFlag, float LatLow,
                  float LatHigh, float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,
                  int32_t UserTag, const TMetaInfo& MInfo, const void* PBLOBData,
                  int32_t SizeOfBLOBData);
  int32_t AddBLOB(const std::string& Name, TDateTime Date, int32_t StateFlag, float LatLow,
                  float LatHigh, float LongLow, float LongHigh, float Altitude, uint8_t ClassNumber,
                  int32_t UserTag, const TMetaInfo& MInfo, Platform::TMemoryStream& Data);
  void ReplaceBLOB(int32_t DBEntry, const std::string& FileName, TDateTime Date, int32_t StateFlag,
                   float LatLow, float LatHigh, float LongLow, float LongHigh, float Altitude,
                   uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo);
  void ReplaceBLOB(int32_t DBEntry, const std::string& Name, TDateTime Date, int32_t StateFlag,
                   float LatLow, float LatHigh, float LongLow, float LongHigh, float Altitude,
                   uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo,
                   const void* PBLOBData, int32_t SizeOfBLOBData);
  void ReplaceBLOB(int32_t DBEntry, const std::string& Name, TDateTime Date, int32_t StateFlag,
                   float LatLow, float LatHigh, float LongLow, float LongHigh, float Altitude,
                   uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo,
                   Platform::TMemoryStream& Data);
  bool RetrieveBLOB(int32_t DBEntry, const std::string& Filepath, TMetaInfo& MetaInfo);
  bool RetrieveBLOB(int32_t DBEntry, TMetaInfo& MetaInfo, void* PBLOBData, int32_t SizeOfBLOBData);
  bool RetrieveBLOB(int32_t DBEntry, TMetaInfo& MetaInfo, Platform::TMemoryStream& BlobStream);
  bool RetrievePolygon(int32_t DBEntry, TgdbPolygon& Polygon);

 private:
  using TIdIndex = TSortedIndex<TIxItemIDRec, int32_t>;
  using TLLIndex = TSortedIndex<TIxLLRec, float>;

  // files.cpp
  bool IsOpen() const { return !FNameGDD.empty(); }
  void ResetToClosed();
  // Reads the seven files of base (creating missing ones) and takes them over.
  void OpenFileSet(const std::string& base);
  void FinishInterruptedDelete();
  void WriteUnwrittenGap();
  void ReloadAfterFailedChange();
  // Runs a change of the files; when it fails, the component takes the files
  // as they are again before the error propagates.
  template <typename F>
  auto Changing(F change) -> decltype(change()) {
    try {
      WriteUnwrittenGap();
      return change();
    } catch (...) {
      ReloadAfterFailedChange();
      throw;
    }
  }
  void WriteHeader(const char* operation);
  // The files of an open set stay open between operations; they are closed
  // with the set. Reading alone never asks for write access.
  Platform::TRecordFile& DataFile(bool write);
  Platform::TRecordFile& SummaryFile();
  Platform::TRecordFile& IndexFile(int32_t n);
  void CloseFiles();
  void AppendSummaryRecord(const TgdbData& data);
  void WriteSummaryRecord(int32_t position, const TgdbData& data);
  std::string Message(const std::string& operation, const std::string& text) const;
  [[noreturn]] void Fail(const std::string& operation, const std::string& text) const;
  void Report(int32_t percent);

  // indexes.cpp
  void SaveIndex(int32_t n);
  void SaveAllIndexes();
  void SaveIndexesIfEager();
  void InsertIntoIndex(int32_t entry, const TgdbData& data);
  void RemoveIndexEntries(int32_t entry, const TgdbData& data);
  void RenumberIndexEntries(const TgdbData& data, int32_t oldPosition, int32_t newPosition);
  void MarkChanged(int32_t n, int32_t position) {
    FIxDirtyFrom[n] = std::min(FIxDirtyFrom[n], position);
  }
  // Reads the index files' bytes; returns whether one had to be rebuilt.
  bool LoadIndexes(const std::array<std::vector<uint8_t>, 5>& files);
  TLLIndex& LLIndex(int32_t n);

  // items.cpp
  int32_t AddData(const TgdbName& Name, const TgdbPolygon& Polygon, bool ClosedLine,
                  TgdbItem ItemType, uint8_t ClassNumber, TDateTime Date, int32_t StateFlag,
                  float LatLow, float LatHigh, float LongLow, float LongHigh, float Altitude,
                  int32_t UserTag, const TMetaInfo& MInfo, const void* PBLOBData,
                  int32_t SizeOfBLOBData, bool BLOBFromFile,
                  const std::string& SourceFile = std::string());
  void ReplaceData(int32_t DBEntry, const TgdbName& Name, const TgdbPolygon& Polygon,
                   bool ClosedLine, TgdbItem ItemType, uint8_t ClassNumber, TDateTime Date,
                   int32_t StateFlag, float LatLow, float LatHigh, float LongLow, float LongHigh,
                   float Altitude, int32_t UserTag, const TMetaInfo& MInfo, const void* PBLOBData,
                   int32_t SizeOfBLOBData, bool BLOBFromFile,
                   const std::string& SourceFile = std::string());
  // Raises the operation's error for input that cannot be stored.
  void CheckNewItem(const char* operation, TgdbItem ItemType, const TgdbPolygon& Polygon,
                    float LatLow, float LatHigh, float LongLow, float LongHigh,
                    const void* PBLOBData, int32_t SizeOfBLOBData, bool BLOBFromFile) const;
  TgdbData BuildRecord(const TgdbName& Name, TgdbItem ItemType, uint8_t ClassNumber, TDateTime Date,
                       int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                       float LongHigh, float Altitude, int32_t UserTag) const;
  void WriteDataBlock(const char* operation, TgdbData& data, const TgdbPolygon& Polygon,
                      bool ClosedLine, const TMetaInfo& MInfo, const void* PBLOBData,
                      int32_t SizeOfBLOBData, bool BLOBFromFile, const std::string& SourceFile);
  // Opens the data file for appending and returns the offset of the new block.
  int32_t OpenForAppend(const char* operation, int64_t blockSize);
  bool Reporting() const { return FOnPercentDone && FOnPercDoneEnabled; }

  // polygons.cpp
  void WritePolygonBlock(const char* operation, TgdbData& data, const TgdbPolygon& Polygon);

  // blobs.cpp
  void WriteBlobFromFile(const char* operation, TgdbData& data, const TMetaInfo& MInfo,
                         const std::string& SourceFile);
  void WriteBlobFromMemory(const char* operation, TgdbData& data, const TMetaInfo& MInfo,
                           const void* PBLOBData, int32_t SizeOfBLOBData);
  // Opens the data file and finds the BLOB entry (0-based position) or -1
  // when DBEntry is no BLOB; raises when its block lies outside the file.
  int32_t OpenBlob(int32_t DBEntry, const char* operation);
  bool IsFileOfTheSet(const std::string& fileName) const;
  void CopyBlobContent(Platform::TRecordFile& file, int32_t size,
                       const std::function<void(const uint8_t*, int32_t)>& sink);

  std::string FNameGDS;
  std::string FNameGDD;
  std::array<std::string, 5> FNameIX;
  std::vector<TgdbData> FSumData;
  int32_t FNumSumItems = 0;
  bool FLazyWrite = false;
  TIdIndex FIx0ItemId;
  TLLIndex FIx1LatLo, FIx2LatHi, FIx3LongLo, FIx4LongHi;
  TOnPercentDoneEvent FOnPercentDone;
  bool FOnPercDoneEnabled = true;
  TgdbSystemData FSystemData;

  // Position of a record that finishing an interrupted deletion changed in
  // memory but could not write yet; -1 when the summary file is in step.
  int32_t FUnwrittenGap = -1;
  Platform::TRecordFile FDataFile, FSumFile;
  bool FDataWritable = false;
  std::array<Platform::TRecordFile, 5> FIxFile;
  // Per index: first position changed since the file was written, and the
  // number of records the file holds (-1 unknown), so saving writes only the
  // changed tail instead of the whole file.
  std::array<int32_t, 5> FIxDirtyFrom{};
  std::array<int64_t, 5> FIxFileCount{};
};

}  // namespace ZELK_GeoDB
