// A save that fails on the way (a failing or full disk) reports it and
// leaves the files that were there: no half-written file poses as a good
// one, and no temporary file is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/writefaults.h"
#include "test_map.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;

namespace {

// Every file of the folder with its bytes.
std::map<std::string, std::vector<uint8_t>> Snapshot(const std::string& dir) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    files[e.path().filename().string()] = lumivar_test::ReadBytes(e.path().string());
  return files;
}

void LoadCalibratedPicture(TTestMap& map, int32_t shade) {
  Platform::TBitmap bmp;
  bmp.SetPixelFormat(Platform::pf24bit);
  bmp.SetSize(64, 48);
  bmp.Canvas()->Brush()->SetColor(Platform::RGB(shade, 0x40, 0x80));
  bmp.Canvas()->FillRect(Platform::Rect(0, 0, 64, 48));
  map.SetMapBitMap(&bmp);
  map.ClearCalibData();
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(48.0 + shade / 1000.0, 16.0, 0, 0);
  map.AddCalibPoint(48.0, 16.5, 64, 0);
  map.AddCalibPoint(47.5, 16.0, 0, 48);
}

}  // namespace

TEST(FailedSaves, EveryWriterKeepsTheFilesThatWereThere) {
  lumivar_test::TempDir dir;
  const std::string base = dir.File("map");
  TTestMap map;
  TSymbolRepository symbols(nullptr);
  symbols.SetNEntries(3);
  // Each save writes over files an earlier save of the same kind left.
  const struct {
    const char* name;
    std::function<void(int version)> save;
  } writers[] = {
      {"SaveCalDataAsXML",
       [&](int v) {
         LoadCalibratedPicture(map, v);
         map.SaveCalDataAsXML(base + ".xml", "cal");
       }},
      {"SaveMap",
       [&](int v) {
         LoadCalibratedPicture(map, v);
         map.SaveMap(base + ".jpg", "cal");
       }},
      {"StoreOnFile",
       [&](int v) {
         TSymbol s = DefaultSymbolRecord();
         s.Name = "entry " + std::to_string(v);
         symbols.SetValues(2, s);
         symbols.StoreOnFile(base + ".sym", "set");
       }},
      {"CreateAndLoadEmptyMap",
       [&](int v) {
         map.CreateAndLoadEmptyMap(base + "gen.bmp", 45, 10, 46 + v, 12, 1, 1, 100, 100, nullptr);
       }},
  };
  for (const auto& w : writers) {
    SCOPED_TRACE(w.name);
    w.save(1);  // what is on disk before
    const auto before = Snapshot(dir.Path());
    // Every write of the save fails in turn, the way a full disk cuts it
    // short; the kinds that fail whole are tried on the first write.
    std::vector<std::map<std::string, std::vector<uint8_t>>> afterFailures;
    for (int64_t nth = 1;; ++nth) {
      SCOPED_TRACE(nth);
      ASSERT_LT(nth, 1000);
      bool raised = false, struck = false;
      for (Platform::TWriteFault fault :
           {Platform::wfShortWrite, Platform::wfIOError, Platform::wfNoSpace}) {
        if (fault != Platform::wfShortWrite && nth > 1) break;
        Platform::TWriteFaultScope scope(nth, fault);
        try {
          w.save(2);
        } catch (const std::exception&) {
          raised = true;
        }
        struck = Platform::WriteFaultStruck();
        EXPECT_EQ(raised, struck);
        if (struck) afterFailures.push_back(Snapshot(dir.Path()));
      }
      if (!struck) break;  // the save went through: every write was tried
    }
    // After each failure every file is whole: as it was, or as the save
    // that went through wrote it, and no temporary is left. Only the
    // failure of a pair's second rename, the last step of all, may leave
    // the first file replaced.
    const auto after = Snapshot(dir.Path());
    ASSERT_GT(afterFailures.size(), 2u);
    for (size_t i = 0; i < afterFailures.size(); ++i) {
      const auto& seen = afterFailures[i];
      ASSERT_EQ(seen.size(), before.size());
      if (i + 1 < afterFailures.size()) {
        EXPECT_TRUE(seen == before) << "failure " << i + 1;
      }
      for (const auto& [name, bytes] : seen) {
        ASSERT_TRUE(before.count(name)) << name;
        EXPECT_TRUE(bytes == before.at(name) || bytes == after.at(name)) << name;
      }
    }
  }
}
