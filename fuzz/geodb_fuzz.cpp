// Splits the input into the seven files of a database set, opens it and runs
// every reading operation plus a few changes over it. Only the two clean
// errors (input/output, database) may come out; every entry is found again
// by its identifier and the indexes stay sorted, before and after the changes.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "geodb/geodb.h"
#include "platform/platform.h"

namespace {

using namespace ZELK_GeoDB;

const char* const kExt[7] = {".zelkgds", ".zelkgdd", ".zelkgi0", ".zelkgi1",
                             ".zelkgi2", ".zelkgi3", ".zelkgi4"};

const std::string& Dir() {
  static const std::string dir = [] {
    // In memory where there is a tmpfs: the database and BLOB writes flush to the disk.
    std::string pattern = Platform::DirectoryExists("/dev/shm") ? "/dev/shm/fuzz-geodb-XXXXXX"
                                                                : "/tmp/fuzz-geodb-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return dir;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The search by identifier finds an entry of that identifier (the first of
// several in a damaged set), and each index is sorted by its key.
void CheckFindable(const TGeoDB& db) {
  const int32_t n = db.NumEntries();
  for (int32_t e = 1; e <= n; ++e) {
    const int32_t id = db.GetSumdata(e).ItemId;
    const int32_t found = db.SearchForItemID(id);
    Check(found >= 1 && found <= n && db.GetSumdata(found).ItemId == id);
  }
  for (int32_t p = 2; p <= n; ++p) {
    Check(db.GetIxItemID(p - 1).ItemID <= db.GetIxItemID(p).ItemID);
    for (auto reader : {&TGeoDB::GetIxLatLow, &TGeoDB::GetIxLatHigh, &TGeoDB::GetIxLongLow,
                        &TGeoDB::GetIxLongHigh}) {
      const float a = (db.*reader)(p - 1).LLValue, b = (db.*reader)(p).LLValue;
      Check(!(a > b) && !(std::isnan(a) && !std::isnan(b)));
    }
  }
}

template <typename F>
void Guard(F f) {
  try {
    f();
  } catch (const Platform::EInOutError&) {
  } catch (const EZELKGeoDBError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Seven lengths (two bytes each) in front, then the files' bytes one after another.
  if (size < 14) return 0;
  const std::string base = Dir() + "/db";
  size_t pos = 14;
  for (int i = 0; i < 7; ++i) {
    const size_t want = data[2 * i] | (size_t{data[2 * i + 1]} << 8);
    const size_t n = std::min(want, size - pos);
    Platform::TRecordFile f;
    f.Rewrite(base + kExt[i], 1);
    f.BlockWrite(data + pos, static_cast<int64_t>(n));
    pos += n;
  }
  TGeoDB db(nullptr);
  try {
    db.SetGDBName(base);
  } catch (const Platform::EInOutError&) {
    return 0;
  }
  for (int32_t e = 0; e <= db.NumEntries() + 1; ++e) {
    TgdbPolygon poly;
    TMetaInfo meta;
    Platform::TMemoryStream s;
    std::vector<uint8_t> buf(64);
    Guard([&] { db.RetrievePolygon(e, poly); });
    Guard([&] { db.RetrieveBLOB(e, meta, s); });
    Guard([&] { db.RetrieveBLOB(e, meta, buf.data(), static_cast<int32_t>(buf.size())); });
    Guard([&] { db.RetrieveBLOB(e, Dir() + "/", meta); });
    const TgdbData d = db.GetSumdata(e);
    db.SearchForItemID(d.ItemId);
    db.GetClosestLatLowIx(d.LatLow);
    db.GetClosestLongHighIx(d.LongHigh);
    db.GetIxLatHigh(e);
    ItemKindName(d.ItemKind);
  }
  CheckFindable(db);
  Guard([&] { db.AddTown("fuzz", 0, 0, TSCoords{1, 2}, 0, 0, 0); });
  Guard([&] { db.ReplaceRiver(1, "r", {{1, 1}, {2, 2}}, 0, 0, 0, 0, 0, 0, 0, 0, 0); });
  Guard([&] { db.DeleteData(1); });
  CheckFindable(db);
  Guard([&] { db.SetGDBName(""); });
  return 0;
}
