// The list of registered maps: registering in any letter case, the room
// for 200, removing, and the choice of a finer or coarser map.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "atlas_files.h"

using namespace ZELK_geoatlas;
using geoatlas_test::TMapSpec;
using geoatlas_test::WriteMap;

namespace {

// Four maps around Bern (46.95 N, 7.45 E), finer and smaller in turn, and
// one elsewhere.
const TMapSpec kSwiss100{"swiss.xml", "Switzerland", 100, 45.8, 5.9, 47.8, 10.5};
const TMapSpec kBern50{"bern50.xml", "Bern 50", 50, 46.5, 7.0, 47.3, 8.0};
const TMapSpec kBern20{"bern20.xml", "Bern 20", 20, 46.8, 7.2, 47.1, 7.7};
const TMapSpec kBern10{"bern10.xml", "", 10, 46.9, 7.4, 47.0, 7.5};
const TMapSpec kGeneva5{"geneva.xml", "Geneva", 5, 46.1, 6.0, 46.3, 6.3};

class MapList : public ::testing::Test {
 protected:
  void RegisterAll() {
    for (const TMapSpec& m : {kSwiss100, kBern50, kBern20, kBern10, kGeneva5})
      ASSERT_GT(maps.Register(WriteMap(dir, m)), 0) << m.file;
  }
  lumivar_test::TempDir dir;
  TMapList maps;
};

TEST_F(MapList, RegistrationTakesTheFilesCalibration) {
  const int32_t slot = maps.Register(WriteMap(dir, kBern50));
  ASSERT_EQ(slot, 1);
  const TMapDefinition d = maps.Slot(1);
  EXPECT_EQ(d.MapFName, Platform::LowerCaseUtf8(dir.File("bern50.xml")));
  EXPECT_EQ(d.Caption, "Bern 50");
  EXPECT_EQ(d.Resolution, 50.0);
  EXPECT_EQ(d.Corners[ZELK_geomap::gcoBottomRight], (ZELK_geomap::TCoords{46.5, 8.0}));
  EXPECT_EQ(maps.Register(dir.File("missing.xml")), 0);
  lumivar_test::WriteText(dir.File("empty.xml"), "<?xml version=\"1.0\"?>\r\n");
  EXPECT_EQ(maps.Register(dir.File("empty.xml")), 0);
  EXPECT_EQ(maps.Count(), 1);
  EXPECT_EQ(maps.Slot(0).Resolution, 0.0);
  EXPECT_EQ(maps.Slot(201).MapFName, "");
}

TEST_F(MapList, TheSameFileInAnotherLetterCaseUpdatesItsEntry) {
  TMapSpec m = kBern50;
  m.file = "Bern.XML";
  const std::string given = WriteMap(dir, m);
  ASSERT_EQ(maps.Register(given), 1);
  EXPECT_EQ(maps.Slot(1).OpenedFName, given);  // opened as given
  // rewritten in lower case, as names were lower-cased elsewhere
  m.file = "bern.xml";
  m.caption = "Bern, new edition";
  WriteMap(dir, m);
  std::remove(given.c_str());
  const std::string upper = dir.File("BERN.xml");
  EXPECT_EQ(maps.Register(upper), 1);
  EXPECT_EQ(maps.Count(), 1);
  EXPECT_EQ(maps.Slot(1).Caption, "Bern, new edition");
  EXPECT_EQ(maps.Slot(1).OpenedFName, dir.File("bern.xml"));  // found in lower case
  EXPECT_EQ(maps.IndexOf(dir.File("BeRn.XmL")), 1);
}

TEST_F(MapList, HoldsTwoHundredMaps) {
  const std::string file = WriteMap(dir, kBern10);
  // the same file under 200 names: a symbolic link each
  for (int i = 1; i <= 201; ++i) {
    const std::string name = dir.File("m" + std::to_string(i) + ".xml");
    ASSERT_EQ(symlink(file.c_str(), name.c_str()), 0);
    EXPECT_EQ(maps.Register(name), i <= 200 ? i : 0);
  }
  EXPECT_EQ(maps.Count(), 200);
  EXPECT_EQ(maps.Register(dir.File("M7.xml")), 7);  // known names still update
}

TEST_F(MapList, UnregisterMovesTheLaterMapsDown) {
  RegisterAll();
  EXPECT_FALSE(maps.Unregister(0));
  EXPECT_FALSE(maps.Unregister(6));
  ASSERT_TRUE(maps.Unregister(2));
  EXPECT_EQ(maps.Count(), 4);
  EXPECT_EQ(maps.Slot(2).Caption, "Bern 20");
  EXPECT_EQ(maps.Slot(4).Caption, "Geneva");
  ASSERT_TRUE(maps.Unregister(4));  // the last: its slot still holds it
  EXPECT_EQ(maps.Count(), 3);
  EXPECT_EQ(maps.Slot(4).Caption, "Geneva");
}

TEST_F(MapList, ZoomChoosesTheNextMapThatCoversTheLocation) {
  RegisterAll();
  const double lat = 46.95, lon = 7.45;
  const struct {
    double resolution, minResDiff;
    int32_t finer, coarser;
  } cases[] = {
      {100, 10, 2, 0},  // 50 is the smallest step in
      {100, 60, 3, 0},  // 50 is only 50 % finer: 20
      {100, 95, 0, 0},  // nothing is 95 % finer
      {20, 10, 4, 2},   // out from 20: 50
      {105, 10, 2, 0},  // ...
      {95, 10, 2, 1},   // not yet: 100 is coarser
      {10, 10, 0, 3},  {5, 10, 0, 4},
      {0, 10, 0, 4},  // no current resolution: nothing is finer, the finest is coarser
      {-1, 10, 0, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.resolution << " " << c.minResDiff);
    EXPECT_EQ(maps.FinerMapAt(lat, lon, c.resolution, c.minResDiff), c.finer);
    EXPECT_EQ(maps.CoarserMapAt(lat, lon, c.resolution), c.coarser);
  }
  // 95 m is not 10 % finer than 100 m
  TMapList two;
  two.Register(WriteMap(dir, kSwiss100));
  TMapSpec m95 = kBern50;
  m95.resolution = 95;
  two.Register(WriteMap(dir, m95));
  EXPECT_EQ(two.FinerMapAt(lat, lon, 100, 10), 0);
  EXPECT_EQ(two.FinerMapAt(lat, lon, 100, 4.9), 2);
  // a tie goes to the lower index; a location on no map finds nothing
  two.Register(WriteMap(dir, TMapSpec{"tie.xml", "tie", 95, 46.0, 7.0, 48.0, 8.0}));
  EXPECT_EQ(two.FinerMapAt(lat, lon, 100, 4.9), 2);
  EXPECT_EQ(two.FinerMapAt(60.0, 20.0, 1000, 10), 0);
  EXPECT_EQ(two.CoarserMapAt(60.0, 20.0, 1), 0);
}

}  // namespace
