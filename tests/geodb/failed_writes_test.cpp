// Failing writes: every write that adding, replacing and deleting items and
// BLOBs performs is made to fail in turn (an I/O error, a short write, a full
// disk). The operation must raise; the set must open again, as it is on the
// disk at that moment and after the component closed it, with every item that
// was complete before still there with its data and the changed item either
// as it was or as it was meant to become.
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "platform/errors.h"
#include "platform/writefaults.h"
#include "tests/geodb/dbtest.h"

namespace geodb_test {
namespace {

using Platform::TWriteFault;

// What an application can read back of one item.
struct ItemState {
  TgdbData data;
  TgdbPolygon points;
  std::vector<uint8_t> content;
  std::string meta;  // the five meta information strings, joined
};

bool SamePoints(const TgdbPolygon& a, const TgdbPolygon& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const TSCoords& p, const TSCoords& q) {
                      return p.Latit == q.Latit && p.Longit == q.Longit;
                    });
}

bool operator==(const ItemState& a, const ItemState& b) {
  return SameRecord(a.data, b.data) && SamePoints(a.points, b.points) && a.content == b.content &&
         a.meta == b.meta;
}

std::string Describe(const ItemState& s) {
  return "item " + std::to_string(s.data.ItemId) + " \"" + s.data.Name.ToString() + "\" kind " +
         std::to_string(s.data.ItemKind) + " offset " + std::to_string(s.data.BlobOffset) +
         " count " + std::to_string(s.data.NumPoints);
}

using Items = std::map<int32_t, ItemState>;  // by identifier

// Reads every item back through the public operations and checks that the
// five indexes are sorted permutations of the entries that find each of them.
Items ReadBack(TGeoDB& db, const std::string& what) {
  Items items;
  const int32_t n = db.NumEntries();
  for (int32_t e = 1; e <= n; ++e) {
    ItemState s;
    s.data = db.GetSumdata(e);
    if (IsPolygonKind(s.data.ItemKind)) {
      EXPECT_TRUE(db.RetrievePolygon(e, s.points)) << what;
    }
    if (s.data.ItemKind == gitBLOB) {
      TMetaInfo m;
      Platform::TMemoryStream stream;
      EXPECT_TRUE(db.RetrieveBLOB(e, m, stream)) << what;
      const auto* p = static_cast<const uint8_t*>(stream.Memory());
      s.content.assign(p, p + stream.Size());
      s.meta = m.Keywords.ToString() + "|" + m.Caption.ToString() + "|" + m.FilePath.ToString() +
               "|" + m.Descriptor.ToString() + "|" + m.Comment.ToString();
    }
    EXPECT_TRUE(items.emplace(s.data.ItemId, s).second)
        << what << ": identifier " << s.data.ItemId << " twice";
    EXPECT_EQ(db.SearchForItemID(s.data.ItemId), e) << what;
  }
  ExpectIndexesConsistent(db, what);
  return items;
}

TgdbPolygon Line(float lat, float lon, int n) {
  TgdbPolygon p;
  for (int i = 0; i < n; ++i)
    p.push_back({lat + 0.01f * i, lon - 0.02f * static_cast<float>(i % 7)});
  return p;
}
std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 13 + 1);
  return b;
}
TMetaInfo Meta(const std::string& caption) {
  TMetaInfo m;
  m.Keywords = "scan";
  m.Caption = caption;
  return m;
}

// The 120 bytes of an entry in the summary file.
std::vector<uint8_t> Record(const std::vector<uint8_t>& summary, int32_t entry) {
  const size_t at = static_cast<size_t>(entry - 1) * 120;
  if (entry < 1 || summary.size() < at + 120) return {};
  return std::vector<uint8_t>(summary.begin() + at, summary.begin() + at + 120);
}

// got is the beginning of fresh followed by the end of old.
bool TornBetween(const std::vector<uint8_t>& got, const std::vector<uint8_t>& old,
                 const std::vector<uint8_t>& fresh) {
  if (got.size() != 120 || old.size() != 120 || fresh.size() != 120) return false;
  size_t k = 0;
  while (k < 120 && got[k] == fresh[k]) ++k;
  return std::equal(got.begin() + k, got.end(), old.begin() + k);
}

// A database with items of every kind, written once and restored before each run.
class FailedWriteTest : public DbTest {
 protected:
  void SetUp() override {
    Open();
    Town("Graz", 47.07f, 15.44f, 1);
    River("Mur", Line(47.0f, 15.0f, 40));
    db->AddBLOB("scan.jpg", kDate, 3, 46, 48, 14, 16, 300, 4, 5, Meta("first"),
                Pattern(20000).data(), 20000);
    db->AddLake("Attersee", Line(47.8f, 13.5f, 12), kDate, 0, 0, 0, 0, 0, 469, 2, 0);
    db->AddBorder("AT-SI", Line(46.5f, 14.0f, 30), true, kDate, 0, 0, 0, 0, 0, 0, 1, 0);
    Town("Linz", 48.3f, 14.29f, 2);
    db->AddRoad("A2", Line(47.1f, 15.5f, 25), kDate, 0, 0, 0, 0, 0, 0, 3, 0);
    Town("Wien", 48.21f, 16.37f, 3);
    db->DeleteData(2);  // identifiers with a gap, entries out of identifier order
    db->SetGDBName("");
    for (int i = 0; i < 7; ++i) base_[i] = Bytes(kExtensions[i]);
    lumivar_test::WriteBytes(dir.File("source.bin"), Pattern(20000));
  }

  void Restore(const std::string& to) {
    for (int i = 0; i < 7; ++i) lumivar_test::WriteBytes(to + kExtensions[i], base_[i]);
  }
  // The files as they are now, as if the program had stopped at this moment.
  void CopyFilesTo(const std::string& to) {
    for (int i = 0; i < 7; ++i) {
      std::filesystem::remove(to + kExtensions[i]);
      std::filesystem::copy_file(File(kExtensions[i]), to + kExtensions[i]);
    }
  }
  Items OpenAndReadBack(const std::string& name, const std::string& what) {
    TGeoDB other(nullptr);
    other.SetGDBName(name);
    return ReadBack(other, what);
  }

  std::vector<uint8_t> base_[7];
};

struct Operation {
  const char* name;
  int32_t target;  // identifier of the item changed or removed, 0 for an addition
  std::function<void(TGeoDB&, const std::string& dir)> run;
};

const Operation kOperations[] = {
    {"add town", 0,
     [](TGeoDB& db, const std::string&) {
       db.AddTown("Salzburg", kDate, 0, {47.8f, 13.04f}, 424, 1, 9);
     }},
    {"add river", 0,
     [](TGeoDB& db, const std::string&) {
       db.AddRiver("Enns", Line(47.4f, 13.7f, 50), kDate, 0, 0, 0, 0, 0, 0, 0, 0);
     }},
    {"add BLOB from memory", 0,
     [](TGeoDB& db, const std::string&) {
       const auto bytes = Pattern(40000);
       db.AddBLOB("big", kDate, 0, 1, 2, 3, 4, 0, 0, 0, Meta("big"), bytes.data(), 40000);
     }},
    {"add BLOB from a file", 0,
     [](TGeoDB& db, const std::string& dir) {
       db.AddBLOB(dir + "/source.bin", kDate, 0, 1, 2, 3, 4, 0, 0, 0, Meta("file"));
     }},
    {"replace border by lake", 5,
     [](TGeoDB& db, const std::string&) {
       db.ReplaceLake(db.SearchForItemID(5), "Neusiedler See", Line(47.8f, 16.7f, 20), kDate, 0, 0,
                      0, 0, 0, 115, 0, 0);
     }},
    {"replace town by BLOB", 1,
     [](TGeoDB& db, const std::string&) {
       const auto bytes = Pattern(17000);
       db.ReplaceBLOB(db.SearchForItemID(1), "plan", kDate, 0, 0, 1, 0, 1, 0, 0, 0, Meta("plan"),
                      bytes.data(), 17000);
     }},
    {"replace BLOB by town", 3,
     [](TGeoDB& db, const std::string&) {
       db.ReplaceTown(db.SearchForItemID(3), "Villach", kDate, 0, {46.61f, 13.85f}, 501, 0, 0);
     }},
    {"delete an entry in the middle", 4,
     [](TGeoDB& db, const std::string&) { db.DeleteData(db.SearchForItemID(4)); }},
    {"delete the first entry", 1,
     [](TGeoDB& db, const std::string&) { db.DeleteData(db.SearchForItemID(1)); }},
    {"delete the last entry", 7,
     [](TGeoDB& db, const std::string&) { db.DeleteData(db.NumEntries()); }},
};

const char* FaultName(TWriteFault f) {
  return f == Platform::wfIOError      ? "I/O error"
         : f == Platform::wfShortWrite ? "short write"
                                       : "full disk";
}

// The state after a failure: the items before, except the target, which is
// either as before or as the successful operation leaves it; an added item
// is there completely or not at all.
void ExpectBeforeOrAfter(const Items& got, const Items& before, const Items& after,
                         const std::string& what) {
  for (const auto& [id, state] : before) {
    const auto it = got.find(id);
    const auto changed = after.find(id);
    if (it == got.end()) {
      EXPECT_TRUE(changed == after.end()) << what << ": lost " << Describe(state);
      continue;
    }
    EXPECT_TRUE(it->second == state || (changed != after.end() && it->second == changed->second))
        << what << ": " << Describe(it->second) << " was " << Describe(state);
  }
  for (const auto& [id, state] : got)
    if (before.count(id) == 0) {
      const auto added = after.find(id);
      ASSERT_TRUE(added != after.end()) << what << ": unexpected " << Describe(state);
      EXPECT_TRUE(state == added->second) << what << ": incomplete " << Describe(state);
    }
}

TEST_F(FailedWriteTest, EveryFailedWriteLeavesTheItemsBeforeOrAfter) {
  const std::string crash = dir.File("crash");
  for (const bool lazy : {false, true}) {
    for (const Operation& op : kOperations) {
      // A run without faults: how many writes, and what the items become.
      Restore(base);
      Items before, after;
      int64_t writes = 0;
      int32_t targetEntry = 0;
      {
        TGeoDB clean(nullptr);
        clean.SetGDBName(base);
        clean.SetLazyWrite(lazy);
        before = ReadBack(clean, op.name);
        targetEntry = clean.SearchForItemID(op.target);
        Platform::TWriteFaultScope counting(0, Platform::wfIOError);
        op.run(clean, dir.Path());
        writes = Platform::CountedWrites();
        after = ReadBack(clean, op.name);
      }
      const std::vector<uint8_t> replaced = Record(Bytes(".zelkgds"), targetEntry);
      ASSERT_GT(writes, 0) << op.name;
      for (int64_t nth = 1; nth <= writes; ++nth) {
        for (TWriteFault fault :
             {Platform::wfIOError, Platform::wfShortWrite, Platform::wfNoSpace}) {
          const std::string what = std::string(op.name) + (lazy ? " (lazy)" : "") + ", " +
                                   FaultName(fault) + " at write " + std::to_string(nth) + " of " +
                                   std::to_string(writes);
          Restore(base);
          auto failing = std::make_unique<TGeoDB>(nullptr);
          failing->SetName("GeoDB1");
          failing->SetGDBName(base);
          failing->SetLazyWrite(lazy);
          bool raised = false;
          {
            Platform::TWriteFaultScope scope(nth, fault);
            try {
              op.run(*failing, dir.Path());
            } catch (const Platform::EInOutError&) {
              raised = true;
            } catch (const EZELKGeoDBError& e) {
              EXPECT_EQ(std::string(e.what()).rfind("Component \"GeoDB1\": ", 0), 0u) << what;
              raised = true;
            }
            EXPECT_TRUE(raised) << what << ": the failure was not reported";
          }
          CopyFilesTo(crash);
          const Items onDisk = OpenAndReadBack(crash, what + ", files at the failure");
          Items expected = after;
          // A record rewritten in place and cut short mixes the new record's
          // beginning with the old one's end; nothing else may be torn.
          if (fault == Platform::wfShortWrite && op.target != 0 && onDisk.count(op.target) &&
              TornBetween(Record(lumivar_test::ReadBytes(crash + ".zelkgds"), targetEntry),
                          Record(base_[0], targetEntry), replaced))
            expected[op.target] = onDisk.at(op.target);
          ExpectBeforeOrAfter(onDisk, before, expected, what + ", files at the failure");
          // The component goes on with what the files hold.
          ASSERT_EQ(failing->GetGDBName(), base) << what;
          EXPECT_TRUE(ReadBack(*failing, what + ", in memory") == onDisk)
              << what << ": the component shows other items than its files hold";
          // Identifiers stored before are never given again.
          const int32_t highest = std::max(before.rbegin()->first, onDisk.rbegin()->first);
          const int32_t entry = failing->AddTown("after", kDate, 0, {1, 1}, 0, 0, 0);
          EXPECT_GT(failing->GetSumdata(entry).ItemId, highest) << what;
          failing.reset();
          Items closed = OpenAndReadBack(base, what + ", after closing");
          closed.erase(closed.rbegin()->first);
          EXPECT_TRUE(closed == onDisk) << what << ": closing changed the items";
          if (testing::Test::HasFailure()) return;
        }
      }
    }
  }
}

TEST_F(FailedWriteTest, FailedRetrieveKeepsTheFileItWouldReplace) {
  Open();
  const std::string out = dir.File("out");
  Platform::CreateDir(out);
  lumivar_test::WriteText(out + "/scan.jpg", "older scan");
  TMetaInfo m;
  int64_t writes = 0;
  {
    Platform::TWriteFaultScope counting(0, Platform::wfIOError);
    ASSERT_TRUE(db->RetrieveBLOB(db->SearchForItemID(3), dir.File("copy.jpg"), m));
    writes = Platform::CountedWrites();
  }
  EXPECT_EQ(lumivar_test::ReadBytes(dir.File("copy.jpg")), Pattern(20000));
  ASSERT_EQ(writes, 4);  // two buffers, the flush, then the file takes the place of the old one
  for (int64_t nth = 1; nth <= writes; ++nth) {
    for (TWriteFault fault : {Platform::wfIOError, Platform::wfShortWrite, Platform::wfNoSpace}) {
      Platform::TWriteFaultScope scope(nth, fault);
      EXPECT_THROW(db->RetrieveBLOB(db->SearchForItemID(3), out + "/", m), Platform::EInOutError)
          << nth;
      EXPECT_EQ(lumivar_test::ReadText(out + "/scan.jpg"), "older scan") << nth;
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1) << nth;
    }
  }
}

TEST_F(FailedWriteTest, DestroyingWithAFullDiskRaisesNothingAndLosesNoItem) {
  Open();
  db->SetLazyWrite(true);
  for (int i = 0; i < 20; ++i) Town("lazy", static_cast<float>(i), 0);
  const Items before = ReadBack(*db, "before");
  {
    Platform::TWriteFaultScope full(1, Platform::wfNoSpace);
    db.reset();  // the indexes cannot be saved; a destructor must not raise
  }
  db = std::make_unique<TGeoDB>(nullptr);
  Open();
  EXPECT_TRUE(ReadBack(*db, "reopened") == before);
}

}  // namespace
}  // namespace geodb_test
