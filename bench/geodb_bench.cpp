// Bulk adding, lookups and polygon reads of the geographic database, and the
// same boxes in an SQLite R*Tree table (one transaction) as the reference.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "geodb/geodb.h"
#include "tests/testsupport/testsupport.h"

namespace {

using namespace ZELK_GeoDB;

constexpr int kTowns = 100000;
constexpr int kPolygons = 10000;
constexpr int kPoints = 100;
constexpr int kLookups = 100000;
constexpr TDateTime kDate = 45000;

struct Box {
  float latLo, latHi, lonLo, lonHi;
};

std::vector<TSCoords> TownPositions() {
  std::mt19937 rng(1);
  std::uniform_real_distribution<float> lat(-90, 90), lon(-180, 180);
  std::vector<TSCoords> v(kTowns);
  for (auto& p : v) p = TSCoords{lat(rng), lon(rng)};
  return v;
}

std::vector<TgdbPolygon> Polygons() {
  std::mt19937 rng(2);
  std::uniform_real_distribution<float> lat(-80, 80), lon(-170, 170), step(-0.05f, 0.05f);
  std::vector<TgdbPolygon> v(kPolygons);
  for (auto& poly : v) {
    TSCoords p{lat(rng), lon(rng)};
    poly.resize(kPoints);
    for (auto& q : poly) {
      p.Latit += step(rng);
      p.Longit += step(rng);
      q = p;
    }
  }
  return v;
}

// One database of towns and polygons shared by the lookup benchmarks.
struct Shared {
  lumivar_test::TempDir dir;
  TGeoDB db{nullptr};
  std::vector<TSCoords> towns = TownPositions();
  std::vector<TgdbPolygon> polygons = Polygons();
  Shared() {
    db.SetGDBName(dir.File("bench"));
    db.SetLazyWrite(true);
    for (const auto& t : towns) db.AddTown("town", kDate, 0, t, 0, 0, 0);
    for (const auto& p : polygons) db.AddRiver("river", p, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  }
};
Shared& Data() {
  static Shared s;
  return s;
}

void BM_AddTownsLazy(benchmark::State& state) {
  const auto& towns = Data().towns;
  for (auto _ : state) {
    lumivar_test::TempDir dir;
    TGeoDB db(nullptr);
    db.SetGDBName(dir.File("towns"));
    db.SetLazyWrite(true);
    for (const auto& t : towns) db.AddTown("town", kDate, 0, t, 0, 0, 0);
    db.SetGDBName("");
  }
  state.SetItemsProcessed(state.iterations() * kTowns);
}

void AddPolygons(benchmark::State& state, bool lazy) {
  const auto& polygons = Data().polygons;
  for (auto _ : state) {
    lumivar_test::TempDir dir;
    TGeoDB db(nullptr);
    db.SetGDBName(dir.File("polygons"));
    db.SetLazyWrite(lazy);
    for (const auto& p : polygons) db.AddRiver("river", p, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
    db.SetGDBName("");
  }
  state.SetItemsProcessed(state.iterations() * kPolygons);
}
void BM_AddPolygonsLazy(benchmark::State& state) {
  AddPolygons(state, true);
}
void BM_AddPolygonsEager(benchmark::State& state) {
  AddPolygons(state, false);
}

std::vector<int32_t> RandomIds(int32_t highest) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> id(1, highest);
  std::vector<int32_t> v(kLookups);
  for (auto& x : v) x = id(rng);
  return v;
}

void BM_SearchForItemID(benchmark::State& state) {
  auto& db = Data().db;
  const auto ids = RandomIds(db.NumEntries());
  for (auto _ : state)
    for (int32_t id : ids) benchmark::DoNotOptimize(db.SearchForItemID(id));
  state.SetItemsProcessed(state.iterations() * kLookups);
}

void BM_GetClosestLatLowIx(benchmark::State& state) {
  auto& db = Data().db;
  const auto& towns = Data().towns;
  for (auto _ : state)
    for (const auto& t : towns) benchmark::DoNotOptimize(db.GetClosestLatLowIx(t.Latit + 0.001));
  state.SetItemsProcessed(state.iterations() * kTowns);
}

void BM_RetrievePolygon(benchmark::State& state) {
  auto& db = Data().db;
  TgdbPolygon poly;
  int32_t entry = kTowns;
  for (auto _ : state) {
    if (++entry > db.NumEntries()) entry = kTowns + 1;
    benchmark::DoNotOptimize(db.RetrievePolygon(entry, poly));
  }
  state.SetItemsProcessed(state.iterations());
}

// --- the SQLite R*Tree reference

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
    throw std::runtime_error(sqlite3_errmsg(db));
}

struct RTree {
  lumivar_test::TempDir dir;
  sqlite3* db = nullptr;
  RTree() {
    Check(sqlite3_open(dir.File("rtree.db").c_str(), &db), db);
    Check(sqlite3_exec(db, "CREATE VIRTUAL TABLE boxes USING rtree(id, latlo, lathi, lonlo, lonhi)",
                       nullptr, nullptr, nullptr),
          db);
  }
  ~RTree() { sqlite3_close(db); }
  void Insert(const std::vector<Box>& boxes) {
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* st = nullptr;
    Check(sqlite3_prepare_v2(db, "INSERT INTO boxes VALUES (NULL, ?, ?, ?, ?)", -1, &st, nullptr),
          db);
    for (const Box& b : boxes) {
      sqlite3_bind_double(st, 1, b.latLo);
      sqlite3_bind_double(st, 2, b.latHi);
      sqlite3_bind_double(st, 3, b.lonLo);
      sqlite3_bind_double(st, 4, b.lonHi);
      Check(sqlite3_step(st), db);
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  }
};

std::vector<Box> TownBoxes() {
  std::vector<Box> v;
  for (const auto& t : Data().towns) v.push_back(Box{t.Latit, t.Latit, t.Longit, t.Longit});
  return v;
}

void BM_SqliteRTreeInsertTowns(benchmark::State& state) {
  const auto boxes = TownBoxes();
  for (auto _ : state) {
    RTree rt;
    rt.Insert(boxes);
  }
  state.SetItemsProcessed(state.iterations() * kTowns);
}

void BM_SqliteRTreeInsertPolygonBoxes(benchmark::State& state) {
  std::vector<Box> boxes;
  for (const auto& p : Data().polygons) {
    Box b{90, -90, 180, -180};
    for (const auto& q : p) {
      b.latLo = std::min(b.latLo, q.Latit);
      b.latHi = std::max(b.latHi, q.Latit);
      b.lonLo = std::min(b.lonLo, q.Longit);
      b.lonHi = std::max(b.lonHi, q.Longit);
    }
    boxes.push_back(b);
  }
  for (auto _ : state) {
    RTree rt;
    rt.Insert(boxes);
  }
  state.SetItemsProcessed(state.iterations() * kPolygons);
}

void BM_SqliteRTreeLookupById(benchmark::State& state) {
  RTree rt;
  rt.Insert(TownBoxes());
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(rt.db, "SELECT latlo FROM boxes WHERE id = ?", -1, &st, nullptr), rt.db);
  const auto ids = RandomIds(kTowns);
  for (auto _ : state)
    for (int32_t id : ids) {
      sqlite3_bind_int(st, 1, id);
      Check(sqlite3_step(st), rt.db);
      benchmark::DoNotOptimize(sqlite3_column_double(st, 0));
      sqlite3_reset(st);
    }
  sqlite3_finalize(st);
  state.SetItemsProcessed(state.iterations() * kLookups);
}

void BM_SqliteRTreeLookupByLatitude(benchmark::State& state) {
  RTree rt;
  rt.Insert(TownBoxes());
  sqlite3_stmt* st = nullptr;
  // The first box at or above a latitude: what GetClosestLatLowIx answers.
  Check(sqlite3_prepare_v2(rt.db,
                           "SELECT id FROM boxes WHERE latlo >= ? AND latlo < ? + 0.01 LIMIT 1", -1,
                           &st, nullptr),
        rt.db);
  const auto& towns = Data().towns;
  for (auto _ : state)
    for (const auto& t : towns) {
      sqlite3_bind_double(st, 1, t.Latit + 0.001);
      sqlite3_bind_double(st, 2, t.Latit + 0.001);
      Check(sqlite3_step(st), rt.db);
      sqlite3_reset(st);
    }
  sqlite3_finalize(st);
  state.SetItemsProcessed(state.iterations() * kTowns);
}

}  // namespace

BENCHMARK(BM_AddTownsLazy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteRTreeInsertTowns)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddPolygonsLazy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddPolygonsEager)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SqliteRTreeInsertPolygonBoxes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SearchForItemID)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteRTreeLookupById)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetClosestLatLowIx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteRTreeLookupByLatitude)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RetrievePolygon)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
