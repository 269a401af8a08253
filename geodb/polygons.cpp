// Polygon blocks: writing the points of an outline and reading them back.
#include <algorithm>

#include "geodb/geodb.h"
#include "geodb/records.h"

namespace ZELK_GeoDB {

void TGeoDB::WritePolygonBlock(const char* operation, TgdbData& data, const TgdbPolygon& Polygon) {
  // The stored box is the polygon's own; the start values are no clamp, so
  // an empty polygon keeps this inverted box.
  data.LatLow = 90;
  data.LatHigh = -90;
  data.LongLow = 180;
  data.LongHigh = -180;
  for (const TSCoords& p : Polygon) {
    if (p.Latit < data.LatLow) data.LatLow = p.Latit;
    if (p.Latit > data.LatHigh) data.LatHigh = p.Latit;
    if (p.Longit < data.LongLow) data.LongLow = p.Longit;
    if (p.Longit > data.LongHigh) data.LongHigh = p.Longit;
  }
  const int64_t count = static_cast<int64_t>(Polygon.size());
  std::vector<uint8_t> bytes(static_cast<size_t>(count) * Records::kPointSize);
  for (size_t i = 0; i < Polygon.size(); ++i)
    Records::PutPoint(bytes.data() + i * Records::kPointSize, Polygon[i]);

  Platform::TRecordFile f;
  data.BlobOffset = OpenForAppend(f, operation, count * Records::kPointSize);
  data.NumPoints = static_cast<int32_t>(count);
  f.BlockWrite(bytes.data(), static_cast<int64_t>(bytes.size()));
  f.Close();
  if (Reporting())
    for (int64_t k = 0; k < count; ++k)
      Report(Platform::RoundHalfEven(static_cast<double>(k) * 100.0 / count));
}

bool TGeoDB::RetrievePolygon(int32_t DBEntry, TgdbPolygon& Polygon) {
  if (!IsOpen()) return false;
  Report(0);
  Platform::TRecordFile f;
  OpenDataFile(f, Platform::faReadOnly);
  const int32_t pos = std::max(DBEntry - 1, 0);
  bool result = false;
  if (pos < FNumSumItems) {
    const TgdbData& d = FSumData[static_cast<size_t>(pos)];
    if (IsPolygonKind(d.ItemKind) && d.BlobOffset >= 0) {
      const int64_t size = static_cast<int64_t>(d.NumPoints) * Records::kPointSize;
      if (d.NumPoints < 0 || d.BlobOffset + size > f.SizeInBytes())
        Fail("RetrievePolygon",
             "the points of entry " + std::to_string(pos + 1) + " lie outside the data file.");
      std::vector<uint8_t> bytes(static_cast<size_t>(size));
      f.Seek(d.BlobOffset);
      f.BlockReadExact(bytes.data(), size);
      TgdbPolygon points(static_cast<size_t>(d.NumPoints));
      const int32_t step = d.NumPoints / 100 + 1;
      for (int32_t i = 0; i < d.NumPoints; ++i) {
        points[static_cast<size_t>(i)] =
            Records::GetPoint(bytes.data() + static_cast<size_t>(i) * Records::kPointSize);
        if ((i + 1) % step == 0)
          Report(Platform::RoundHalfEven(static_cast<double>(i + 1) * 100.0 / d.NumPoints));
      }
      Polygon = std::move(points);
      result = true;
    }
  }
  f.Close();
  Report(100);
  return result;
}

}  // namespace ZELK_GeoDB
