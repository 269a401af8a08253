// Byte layouts of the database files. Every record is written and read field
// by field, little-endian, so that both word sizes produce identical files.
#pragma once

#include <cstdint>
#include <vector>

#include "geodb/geodb.h"

namespace ZELK_GeoDB::Records {

constexpr int32_t kDataSize = 120;        // TgdbData in the summary file
constexpr int32_t kMetaInfoSize = 1024;   // TMetaInfo in front of a BLOB
constexpr int32_t kSystemDataSize = 260;  // TgdbSystemData at the start of the data file
constexpr int32_t kIndexRecSize = 8;      // TIxItemIDRec and TIxLLRec
constexpr int32_t kPointSize = 8;         // TSCoords in a polygon block

void PutData(uint8_t* p, const TgdbData& d);
TgdbData GetData(const uint8_t* p);
void PutMetaInfo(uint8_t* p, const TMetaInfo& m);
TMetaInfo GetMetaInfo(const uint8_t* p);
void PutSystemData(uint8_t* p, const TgdbSystemData& s);
TgdbSystemData GetSystemData(const uint8_t* p);
void PutIndexRec(uint8_t* p, const TIxItemIDRec& r);
void PutIndexRec(uint8_t* p, const TIxLLRec& r);
TIxItemIDRec GetItemIDRec(const uint8_t* p);
TIxLLRec GetLLRec(const uint8_t* p);
void PutPoint(uint8_t* p, const TSCoords& c);
TSCoords GetPoint(const uint8_t* p);

}  // namespace ZELK_GeoDB::Records
