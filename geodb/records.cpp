#include "geodb/records.h"

#include <cstring>

#include "platform/littleendian.h"

namespace ZELK_GeoDB::Records {

namespace {

namespace LE = Platform::LittleEndian;

// Field offsets of the summary record; the gaps are padding written as zero.
enum DataOffset : int32_t {
  oItemId = 0,
  oName = 4,
  oAltitude = 64,
  oClassFlag = 68,
  oTag = 72,
  oBlobOffset = 76,
  oDate = 80,
  oStateFlag = 88,
  oLatLow = 92,
  oLatHigh = 96,
  oLongLow = 100,
  oLongHigh = 104,
  oItemKind = 108,
  oNumPoints = 112,
  oClosed = 116,
};
static_assert(oName + 1 + TgdbName::MaxLength() == oAltitude, "name field is 60 bytes");
static_assert(oClosed + 4 == kDataSize, "summary record is 120 bytes");

enum MetaOffset : int32_t {
  oKeywords = 0,
  oCaption = 256,
  oFilePath = 384,
  oDescriptor = 512,
  oComment = 768
};
static_assert(oComment + 256 == kMetaInfoSize, "meta information is 1024 bytes");

enum SystemOffset : int32_t {
  oHighestID = 0,
  oDBVersion = 4,
  oDescription = 8,
  oRevision = 72,
  oReserved = 76
};
static_assert(oReserved + std::tuple_size_v<decltype(TgdbSystemData::Reserved)> == kSystemDataSize,
              "header is 260 bytes");

// An index record: the key (identifier or coordinate), then the entry's
// zero-based position in the summary file.
enum IndexOffset : int32_t { oIxKey = 0, oIxEntry = 4 };
static_assert(oIxEntry + 4 == kIndexRecSize, "index record is 8 bytes");

enum PointOffset : int32_t { oLatit = 0, oLongit = 4 };
static_assert(oLongit + 4 == kPointSize, "polygon point is 8 bytes");

}  // namespace

void PutData(uint8_t* p, const TgdbData& d) {
  std::memset(p, 0, kDataSize);
  LE::StoreI32(p, oItemId, d.ItemId);
  d.Name.ToBytes(p + oName);
  LE::StoreFloat(p, oAltitude, d.Altitude);
  p[oClassFlag] = d.ClassFlag;
  LE::StoreI32(p, oTag, d.Tag);
  LE::StoreI32(p, oBlobOffset, d.BlobOffset);
  LE::StoreDouble(p, oDate, d.Date);
  LE::StoreI32(p, oStateFlag, d.StateFlag);
  LE::StoreFloat(p, oLatLow, d.LatLow);
  LE::StoreFloat(p, oLatHigh, d.LatHigh);
  LE::StoreFloat(p, oLongLow, d.LongLow);
  LE::StoreFloat(p, oLongHigh, d.LongHigh);
  p[oItemKind] = d.ItemKind;
  LE::StoreI32(p, oNumPoints, d.NumPoints);
  p[oClosed] = d.Closed ? 1 : 0;
}

TgdbData GetData(const uint8_t* p) {
  TgdbData d;
  d.ItemId = LE::LoadI32(p, oItemId);
  d.Name = TgdbName::FromBytes(p + oName);
  d.Altitude = LE::LoadFloat(p, oAltitude);
  d.ClassFlag = p[oClassFlag];
  d.Tag = LE::LoadI32(p, oTag);
  d.BlobOffset = LE::LoadI32(p, oBlobOffset);
  d.Date = LE::LoadDouble(p, oDate);
  d.StateFlag = LE::LoadI32(p, oStateFlag);
  d.LatLow = LE::LoadFloat(p, oLatLow);
  d.LatHigh = LE::LoadFloat(p, oLatHigh);
  d.LongLow = LE::LoadFloat(p, oLongLow);
  d.LongHigh = LE::LoadFloat(p, oLongHigh);
  d.ItemKind = static_cast<TgdbItem>(p[oItemKind]);
  d.NumPoints = LE::LoadI32(p, oNumPoints);
  d.Closed = p[oClosed] != 0;
  return d;
}

void PutMetaInfo(uint8_t* p, const TMetaInfo& m) {
  m.Keywords.ToBytes(p + oKeywords);
  m.Caption.ToBytes(p + oCaption);
  m.FilePath.ToBytes(p + oFilePath);
  m.Descriptor.ToBytes(p + oDescriptor);
  m.Comment.ToBytes(p + oComment);
}

TMetaInfo GetMetaInfo(const uint8_t* p) {
  TMetaInfo m;
  m.Keywords = decltype(m.Keywords)::FromBytes(p + oKeywords);
  m.Caption = decltype(m.Caption)::FromBytes(p + oCaption);
  m.FilePath = decltype(m.FilePath)::FromBytes(p + oFilePath);
  m.Descriptor = decltype(m.Descriptor)::FromBytes(p + oDescriptor);
  m.Comment = decltype(m.Comment)::FromBytes(p + oComment);
  return m;
}

void PutSystemData(uint8_t* p, const TgdbSystemData& s) {
  LE::StoreI32(p, oHighestID, s.HighestID);
  LE::StoreI32(p, oDBVersion, s.DBVersion);
  s.Description.ToBytes(p + oDescription);
  LE::StoreI32(p, oRevision, s.Revision);
  std::memcpy(p + oReserved, s.Reserved.data(), s.Reserved.size());
}

TgdbSystemData GetSystemData(const uint8_t* p) {
  TgdbSystemData s;
  s.HighestID = LE::LoadI32(p, oHighestID);
  s.DBVersion = LE::LoadI32(p, oDBVersion);
  s.Description = decltype(s.Description)::FromBytes(p + oDescription);
  s.Revision = LE::LoadI32(p, oRevision);
  std::memcpy(s.Reserved.data(), p + oReserved, s.Reserved.size());
  return s;
}

void PutIndexRec(uint8_t* p, const TIxItemIDRec& r) {
  LE::StoreI32(p, oIxKey, r.ItemID);
  LE::StoreI32(p, oIxEntry, r.index);
}
void PutIndexRec(uint8_t* p, const TIxLLRec& r) {
  LE::StoreFloat(p, oIxKey, r.LLValue);
  LE::StoreI32(p, oIxEntry, r.index);
}
TIxItemIDRec GetItemIDRec(const uint8_t* p) {
  return TIxItemIDRec{LE::LoadI32(p, oIxKey), LE::LoadI32(p, oIxEntry)};
}
TIxLLRec GetLLRec(const uint8_t* p) {
  return TIxLLRec{LE::LoadFloat(p, oIxKey), LE::LoadI32(p, oIxEntry)};
}

void PutPoint(uint8_t* p, const TSCoords& c) {
  LE::StoreFloat(p, oLatit, c.Latit);
  LE::StoreFloat(p, oLongit, c.Longit);
}
TSCoords GetPoint(const uint8_t* p) {
  return TSCoords{LE::LoadFloat(p, oLatit), LE::LoadFloat(p, oLongit)};
}

}  // namespace ZELK_GeoDB::Records
