// Input that cannot be stored is refused with the operation's error before
// anything is written: coordinates that are not numbers (they would break
// the order of the sorted indexes) and BLOB data that is not there.
#include <functional>
#include <limits>

#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class RejectedInput : public DbTest {
 protected:
  // A database with a town, a river and a BLOB as entries 1 to 3.
  void Fill() {
    Open();
    ASSERT_EQ(Town("Graz", 47.07f, 15.44f), 1);
    ASSERT_EQ(River("Mur", {{47.0f, 15.4f}, {47.1f, 15.5f}, {46.9f, 15.6f}}), 2);
    ASSERT_EQ(db->AddBLOB("scan", kDate, 0, 47, 48, 15, 16, 0, 0, 0, TMetaInfo(), "abc", 3), 3);
    lumivar_test::WriteBytes(dir.File("photo.jpg"), {1, 2, 3});
  }
  std::vector<std::vector<uint8_t>> Files() const {
    std::vector<std::vector<uint8_t>> all;
    for (const char* ext : kExtensions) all.push_back(Bytes(ext));
    return all;
  }
};

TEST_F(RejectedInput, NothingIsWrittenAndTheMessageNamesTheFault) {
  Fill();
  const std::string photo = dir.File("photo.jpg");
  const std::string add = "Component \"GeoDB1\": AddData: ";
  const std::string replace = "Component \"GeoDB1\": ReplaceData: ";
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string message;
  };
  const Case cases[] = {
      {"town latitude", [&] { Town("x", kNaN, 15); }, add + "the location is not a number."},
      {"town longitude", [&] { Town("x", 47, kNaN); }, add + "the location is not a number."},
      {"river point",
       [&] {
         River("x", {{47, 15}, {47, kNaN}});
       },
       add + "polygon point 2 is not a number."},
      {"border point",
       [&] {
         db->AddBorder("x", {{kNaN, 15}}, true, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
       },
       add + "polygon point 1 is not a number."},
      {"BLOB box from memory",
       [&] { db->AddBLOB("x", kDate, 0, 47, 48, 15, kNaN, 0, 0, 0, TMetaInfo(), "abc", 3); },
       add + "the bounding box is not a number."},
      {"BLOB box from a file",
       [&] { db->AddBLOB(photo, kDate, 0, kNaN, 48, 15, 16, 0, 0, 0, TMetaInfo()); },
       add + "the bounding box is not a number."},
      {"negative BLOB size",
       [&] { db->AddBLOB("x", kDate, 0, 47, 48, 15, 16, 0, 0, 0, TMetaInfo(), "abc", -5); },
       add + "invalid BLOB data."},
      {"BLOB without data",
       [&] { db->AddBLOB("x", kDate, 0, 47, 48, 15, 16, 0, 0, 0, TMetaInfo(), nullptr, 3); },
       add + "invalid BLOB data."},
      {"replaced town",
       [&] {
         db->ReplaceTown(1, "x", kDate, 0, {kNaN, kNaN}, 0, 0, 0);
       },
       replace + "the location is not a number."},
      {"replaced river",
       [&] {
         db->ReplaceRiver(2, "x", {{1, 1}, {2, 2}, {kNaN, 3}}, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
       },
       replace + "polygon point 3 is not a number."},
      {"replaced BLOB",
       [&] { db->ReplaceBLOB(3, "x", kDate, 0, 47, kNaN, 15, 16, 0, 0, 0, TMetaInfo(), "a", 1); },
       replace + "the bounding box is not a number."},
      {"replaced BLOB from a file",
       [&] { db->ReplaceBLOB(3, photo, kDate, 0, 47, 48, kNaN, 16, 0, 0, 0, TMetaInfo()); },
       replace + "the bounding box is not a number."},
  };
  const auto before = Files();
  Track();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "accepted";
    } catch (const EZELKGeoDBError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(db->NumEntries(), 3);
  }
  EXPECT_TRUE(progress.empty());
}

TEST_F(RejectedInput, PolygonKindsTakeTheirBoxFromThePointsNotTheArguments) {
  Fill();
  EXPECT_EQ(db->AddRoad("A2", {{47, 15}, {48, 16}}, kDate, 0, kNaN, kNaN, kNaN, kNaN, 0, 0, 0), 4);
  EXPECT_EQ(db->GetSumdata(4).LatHigh, 48.0f);
  // The indexes written are in order: opening again keeps them as they are.
  const auto before = Files();
  Reopen();
  EXPECT_EQ(Files(), before);
}

}  // namespace
}  // namespace geodb_test
