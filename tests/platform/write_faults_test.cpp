// Failing writes: the seam makes the nth write of record files, file streams
// and text files fail like a failing or full disk, and the atomic file writer
// leaves the old file and no temporary behind whatever fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "platform/atomicfile.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/recordfile.h"
#include "platform/streams.h"
#include "platform/textfile.h"
#include "platform/writefaults.h"
#include "tests/testsupport/testsupport.h"

using namespace Platform;
using lumivar_test::ReadText;
using lumivar_test::TempDir;

namespace {

// Writes "0123456789" three times with the file kind under test.
using Writer = std::function<void(const std::string& fileName)>;

const std::pair<const char*, Writer> kWriters[] = {
    {"record file",
     [](const std::string& name) {
       TRecordFile f;
       f.Rewrite(name, 2);
       for (int i = 0; i < 3; ++i) f.BlockWrite("0123456789", 5);
     }},
    {"file stream",
     [](const std::string& name) {
       TFileStream f(name, fmCreate);
       for (int i = 0; i < 3; ++i) f.WriteBuffer("0123456789", 10);
     }},
    {"text file",
     [](const std::string& name) {
       TTextFile f;
       f.Rewrite(name);
       for (int i = 0; i < 3; ++i) f.Write("0123456789");
       f.Close();
     }},
};

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EInOutError& e) {
    return e.ErrorCode;
  }
  return 0;
}

// Names of the files in a directory.
std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(WriteFaults, NthWriteFailsAsTheDiskWould) {
  struct Case {
    TWriteFault fault;
    int64_t nth;
    int error;
    const char* content;  // what reaches the file
  };
  const Case cases[] = {
      {wfIOError, 1, EIO, ""},
      {wfIOError, 2, EIO, "0123456789"},
      {wfNoSpace, 3, ENOSPC, "01234567890123456789"},
      {wfShortWrite, 1, ENOSPC, "01234"},
      {wfShortWrite, 2, ENOSPC, "012345678901234"},
  };
  for (const auto& [kind, write] : kWriters) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(kind) + " fault " + std::to_string(c.fault) + " at write " +
                   std::to_string(c.nth));
      TempDir dir;
      {
        TWriteFaultScope scope(c.nth, c.fault);
        EXPECT_EQ(ErrorOf([&] { write(dir.File("f")); }), c.error);
        EXPECT_TRUE(WriteFaultStruck());
        EXPECT_EQ(CountedWrites(), c.nth);
      }
      EXPECT_EQ(ReadText(dir.File("f")), c.content);
    }
  }
}

TEST(WriteFaults, FullDiskStaysFullTransientErrorPasses) {
  TempDir dir;
  TRecordFile f;
  f.Rewrite(dir.File("r"), 1);
  {
    TWriteFaultScope scope(1, wfIOError);
    EXPECT_EQ(ErrorOf([&] { f.BlockWrite("ab", 2); }), EIO);
    f.BlockWrite("cd", 2);
  }
  {
    TWriteFaultScope scope(1, wfNoSpace);
    EXPECT_EQ(ErrorOf([&] { f.BlockWrite("ef", 2); }), ENOSPC);
    EXPECT_EQ(ErrorOf([&] { f.BlockWrite("gh", 2); }), ENOSPC);
    EXPECT_EQ(ErrorOf([&] { f.Truncate(); }), ENOSPC);  // truncations count as writes
  }
  f.BlockWrite("ij", 2);  // disarmed: the disk works again
  f.Close();
  EXPECT_EQ(ReadText(dir.File("r")), "cdij");
}

TEST(WriteFaults, CountingAloneChangesNothing) {
  TempDir dir;
  TWriteFaultScope scope(0, wfIOError);
  for (const auto& [kind, write] : kWriters) write(dir.File(kind));
  EXPECT_EQ(CountedWrites(), 9);
  EXPECT_FALSE(WriteFaultStruck());
  EXPECT_EQ(ReadText(dir.File("text file")), "012345678901234567890123456789");
}

TEST(AtomicFile, ReplacesTheTargetOnlyWhenEverythingWasWritten) {
  for (const auto& [kind, write] : kWriters) {
    SCOPED_TRACE(kind);
    TempDir dir;
    const std::string target = dir.File("map.cal");
    WriteFileAtomically(target, write);
    EXPECT_EQ(ReadText(target), "012345678901234567890123456789");
    lumivar_test::WriteText(target, "old content");
    ::chmod(target.c_str(), 0640);
    // Three writes of the content, the flush, then the rename: each may fail.
    for (int64_t nth = 1; nth <= 5; ++nth) {
      for (TWriteFault fault : {wfIOError, wfShortWrite, wfNoSpace}) {
        TWriteFaultScope scope(nth, fault);
        EXPECT_NE(ErrorOf([&] { WriteFileAtomically(target, write); }), 0) << nth;
        EXPECT_EQ(ReadText(target), "old content") << nth;
        EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"map.cal"}) << nth;
      }
    }
    WriteFileAtomically(target, write);
    EXPECT_EQ(ReadText(target), "012345678901234567890123456789");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replacement keeps the permissions
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"map.cal"});
  }
}

// A map picture and its calibration: neither is replaced until both are
// written; only the failure of the very last step, the second rename, leaves
// the first file new.
TEST(AtomicFile, FilesThatBelongTogetherAreReplacedTogether) {
  TempDir dir;
  const std::string a = dir.File("map.jpg"), b = dir.File("map.xml");
  lumivar_test::WriteText(a, "old a");
  lumivar_test::WriteText(b, "old b");
  auto writer = [](const std::string& text) {
    return [text](const std::string& temp) {
      TFileStream f(temp, fmCreate);
      f.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    };
  };
  const std::vector<TFileToWrite> pair{{a, writer("new a")}, {b, writer("new b")}};
  int64_t steps = 0;
  {
    TWriteFaultScope counting(0, wfIOError);
    WriteFilesAtomically(pair);
    steps = CountedWrites();
  }
  ASSERT_EQ(steps, 6);  // per file a write and a flush, then the two renames
  for (int64_t nth = 1; nth <= steps; ++nth) {
    lumivar_test::WriteText(a, "old a");
    lumivar_test::WriteText(b, "old b");
    TWriteFaultScope scope(nth, wfIOError);
    EXPECT_NE(ErrorOf([&] { WriteFilesAtomically(pair); }), 0) << nth;
    EXPECT_EQ(ReadText(a), nth == steps ? "new a" : "old a") << nth;
    EXPECT_EQ(ReadText(b), "old b") << nth;
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"map.jpg", "map.xml"})) << nth;
  }
}

TEST(AtomicFile, FailureOfTheWriterItselfLeavesNoTrace) {
  TempDir dir;
  const std::string target = dir.File("absent.xml");
  EXPECT_THROW(WriteFileAtomically(target,
                                   [](const std::string& temp) {
                                     lumivar_test::WriteText(temp, "half");
                                     throw std::runtime_error("writer gave up");
                                   }),
               std::runtime_error);
  EXPECT_TRUE(Listing(dir.Path()).empty());
}

TEST(AtomicFile, FollowsLinksAndRefusesWhatItMayNotWrite) {
  TempDir dir;
  lumivar_test::WriteText(dir.File("real"), "old");
  std::filesystem::create_symlink(dir.File("real"), dir.File("link"));
  WriteFileAtomically(dir.File("link"),
                      [](const std::string& t) { lumivar_test::WriteText(t, "new"); });
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link")));
  EXPECT_EQ(ReadText(dir.File("real")), "new");

  CreateDir(dir.File("sub"));
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(dir.File("sub"), [](const std::string&) {}); }),
            EISDIR);
  if (::geteuid() != 0) {  // root may write anything
    ::chmod(dir.File("real").c_str(), 0444);
    EXPECT_EQ(ErrorOf([&] {
                WriteFileAtomically(dir.File("real"),
                                    [](const std::string& t) { lumivar_test::WriteText(t, "x"); });
              }),
              EACCES);
    EXPECT_EQ(ReadText(dir.File("real")), "new");
  }
  EXPECT_EQ(ErrorOf([&] {
              WriteFileAtomically(dir.File("no/such/dir/f"), [](const std::string& t) {
                TTextFile f;
                f.Rewrite(t);
              });
            }),
            ENOENT);
}
