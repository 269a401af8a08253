#include "geodb/records.h"

#include <bit>
#include <cstring>

namespace ZELK_GeoDB::Records {

namespace {

void PutUInt32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t GetUInt32(const uint8_t* p) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

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

}  // namespace

void PutInt32(uint8_t* p, int32_t v) {
  PutUInt32(p, static_cast<uint32_t>(v));
}
int32_t GetInt32(const uint8_t* p) {
  return static_cast<int32_t>(GetUInt32(p));
}
void PutSingle(uint8_t* p, float v) {
  PutUInt32(p, std::bit_cast<uint32_t>(v));
}
float GetSingle(const uint8_t* p) {
  return std::bit_cast<float>(GetUInt32(p));
}
void PutDouble(uint8_t* p, double v) {
  const auto bits = std::bit_cast<uint64_t>(v);
  PutUInt32(p, static_cast<uint32_t>(bits));
  PutUInt32(p + 4, static_cast<uint32_t>(bits >> 32));
}
double GetDouble(const uint8_t* p) {
  const uint64_t bits = GetUInt32(p) | (static_cast<uint64_t>(GetUInt32(p + 4)) << 32);
  return std::bit_cast<double>(bits);
}

void PutData(uint8_t* p, const TgdbData& d) {
  std::memset(p, 0, kDataSize);
  PutInt32(p + oItemId, d.ItemId);
  d.Name.ToBytes(p + oName);
  PutSingle(p + oAltitude, d.Altitude);
  p[oClassFlag] = d.ClassFlag;
  PutInt32(p + oTag, d.Tag);
  PutInt32(p + oBlobOffset, d.BlobOffset);
  PutDouble(p + oDate, d.Date);
  PutInt32(p + oStateFlag, d.StateFlag);
  PutSingle(p + oLatLow, d.LatLow);
  PutSingle(p + oLatHigh, d.LatHigh);
  PutSingle(p + oLongLow, d.LongLow);
  PutSingle(p + oLongHigh, d.LongHigh);
  p[oItemKind] = d.ItemKind;
  PutInt32(p + oNumPoints, d.NumPoints);
  p[oClosed] = d.Closed ? 1 : 0;
}

TgdbData GetData(const uint8_t* p) {
  TgdbData d;
  d.ItemId = GetInt32(p + oItemId);
  d.Name = TgdbName::FromBytes(p + oName);
  d.Altitude = GetSingle(p + oAltitude);
  d.ClassFlag = p[oClassFlag];
  d.Tag = GetInt32(p + oTag);
  d.BlobOffset = GetInt32(p + oBlobOffset);
  d.Date = GetDouble(p + oDate);
  d.StateFlag = GetInt32(p + oStateFlag);
  d.LatLow = GetSingle(p + oLatLow);
  d.LatHigh = GetSingle(p + oLatHigh);
  d.LongLow = GetSingle(p + oLongLow);
  d.LongHigh = GetSingle(p + oLongHigh);
  d.ItemKind = static_cast<TgdbItem>(p[oItemKind]);
  d.NumPoints = GetInt32(p + oNumPoints);
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
  PutInt32(p + oHighestID, s.HighestID);
  PutInt32(p + oDBVersion, s.DBVersion);
  s.Description.ToBytes(p + oDescription);
  PutInt32(p + oRevision, s.Revision);
  std::memcpy(p + oReserved, s.Reserved.data(), s.Reserved.size());
}

TgdbSystemData GetSystemData(const uint8_t* p) {
  TgdbSystemData s;
  s.HighestID = GetInt32(p + oHighestID);
  s.DBVersion = GetInt32(p + oDBVersion);
  s.Description = decltype(s.Description)::FromBytes(p + oDescription);
  s.Revision = GetInt32(p + oRevision);
  std::memcpy(s.Reserved.data(), p + oReserved, s.Reserved.size());
  return s;
}

void PutIndexRec(uint8_t* p, const TIxItemIDRec& r) {
  PutInt32(p, r.ItemID);
  PutInt32(p + 4, r.index);
}
void PutIndexRec(uint8_t* p, const TIxLLRec& r) {
  PutSingle(p, r.LLValue);
  PutInt32(p + 4, r.index);
}
TIxItemIDRec GetItemIDRec(const uint8_t* p) {
  return TIxItemIDRec{GetInt32(p), GetInt32(p + 4)};
}
TIxLLRec GetLLRec(const uint8_t* p) {
  return TIxLLRec{GetSingle(p), GetInt32(p + 4)};
}

void PutPoint(uint8_t* p, const TSCoords& c) {
  PutSingle(p, c.Latit);
  PutSingle(p + 4, c.Longit);
}
TSCoords GetPoint(const uint8_t* p) {
  return TSCoords{GetSingle(p), GetSingle(p + 4)};
}

}  // namespace ZELK_GeoDB::Records
