// The symbol repository: its file byte for byte, reading back, sections,
// entries, backup and assignment.
#include <gtest/gtest.h>

#include <string>

#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;

namespace {

TSymbol Symbol(TLandMarkElement kind, const std::string& name, int32_t category,
               Platform::TColor fg, Platform::TColor bg, int32_t size, bool transparent,
               int32_t dir, int32_t length) {
  TSymbol s;
  s.Properties = {kind, size, fg, bg, transparent, dir, length};
  s.Name = name;
  s.Category = category;
  return s;
}

class SymbolRepository : public ::testing::Test {
 protected:
  // Writes text as the file and loads it into repo.
  bool Load(const std::string& text, const std::string& id) {
    lumivar_test::WriteText(file, text);
    return repo.LoadFromFile(file, id);
  }
  lumivar_test::TempDir dir;
  const std::string file = dir.File("symbols.xml");
  TSymbolRepository repo{nullptr};
};

const char* const kThreeRoads =
    "<?xml version=\"1.0\"?>\r\n"
    "\r\n"
    "<!-- TGeoMap Landmark Repository / Korvane Suite -->\r\n"
    "<lmsymbols sig=\"Korvane\" vers=\"1.0\" id=\"Roads\">\r\n"
    "<symbol element=\"Cross\" name=\"Bridge\" category=\"2\" colorfg=\"00000000\" "
    "colorbg=\"000000FF\" size=\"8\" transp=\"FALSE\" dir=\"90\" leng=\"40\" />\r\n"
    "<symbol element=\"Plus\" name=\"Caf\xE9 &quot;Zum L&amp;uuml;ck&quot; &lt;1&gt;\" "
    "category=\"-7\" colorfg=\"00ABCDEF\" colorbg=\"FF000001\" size=\"-3\" transp=\"TRUE\" "
    "dir=\"-45\" leng=\"0\" />\r\n"
    "<symbol element=\"User-Defined\" name=\"\" category=\"0\" colorfg=\"00000000\" "
    "colorbg=\"00000000\" size=\"0\" transp=\"FALSE\" dir=\"0\" leng=\"0\" />\r\n"
    "</lmsymbols>\r\n";

void FillThreeRoads(TSymbolRepository& r) {
  r.SetNEntries(3);
  r.SetValues(1, Symbol(lmCross, "Bridge", 2, 0x000000, 0x0000FF, 8, false, 90, 40));
  r.SetValues(
      2, Symbol(lmPlus, "Café \"Zum L&uuml;ck\" <1>", -7, 0xABCDEF, 0xFF000001, -3, true, -45, 0));
  r.SetValues(3, Symbol(lmUserDef, "", 0, 0, 0, 0, false, 0, 0));
}

}  // namespace

TEST_F(SymbolRepository, StoresTheFileByteForByte) {
  FillThreeRoads(repo);
  repo.StoreOnFile(file, "Roads");
  EXPECT_EQ(lumivar_test::ReadText(file), kThreeRoads);
}

TEST_F(SymbolRepository, ReadsBackEveryKindAndTextButNamelessKindsAsCross) {
  repo.SetNEntries(12);
  for (int k = 0; k < 11; ++k)
    repo.SetValues(k + 1, Symbol(TLandMarkElement(k), "n" + std::to_string(k), k, 0x10203 * k,
                                 0xFFFFFF - k, k - 5, k % 2 == 1, 30 * k - 100, 7 * k));
  // A name of quotes, ampersands, brackets, control and 8-bit characters;
  // 50 characters cut to 40 at a character boundary.
  repo.SetValues(12, Symbol(lmSpade, "\"&<>\t\r\nÄÖÜäöü€ß &amp; &#65; x", 1, 2, 3, 4, true, 5, 6));
  const std::string fifty = std::string(38, 'n') + "ÿé" + std::string(10, 'x');
  TSymbolRepository source(nullptr);
  source.Assign(&repo);
  source.SetNEntries(13);
  source.SetValues(13, Symbol(lmSquare, fifty, 0, 0, 0, 0, false, 0, 0));
  source.StoreOnFile(file, "all");
  TSymbolRepository back(nullptr);
  ASSERT_TRUE(back.LoadFromFile(file, "ALL"));
  ASSERT_EQ(back.NumEntries(), 13);
  for (int32_t i = 1; i <= 12; ++i) {
    TSymbol want = source.GetValues(i);
    if (want.Properties.Kind == lmPlus || want.Properties.Kind >= lmUserDef)
      want.Properties.Kind = lmCross;
    EXPECT_EQ(back.GetValues(i), want) << i;
  }
  EXPECT_EQ(back.GetValues(13).Name.ToString(), std::string(38, 'n') + "ÿé");
}

TEST_F(SymbolRepository, FindsItsSectionByIdentifierInAnyLetterCase) {
  FillThreeRoads(repo);
  repo.StoreOnFile(file, "Roads");
  for (const char* id : {"ROADS", "", " roads "}) {
    TSymbolRepository r(nullptr);
    EXPECT_TRUE(r.LoadFromFile(file, id)) << id;
    EXPECT_EQ(r.NumEntries(), 3) << id;
  }
  EXPECT_FALSE(repo.LoadFromFile(file, "rivers"));
  EXPECT_EQ(repo.NumEntries(), 3);
  EXPECT_EQ(repo.GetValues(1).Name.ToString(), "Bridge");
  EXPECT_FALSE(repo.LoadFromFile(dir.File("missing.xml"), ""));
}

TEST_F(SymbolRepository, ReadsOnPastTheEndTagOfItsSectionUpToTheGeomapEnd) {
  const std::string sym = "<symbol element=\"square\" name=\"";
  ASSERT_TRUE(Load("<lmsymbols sig=\"Korvane\" id=\"a\">\n" + sym + "a1\" />\n</lmsymbols>\n" +
                       "<lmsymbols sig=\"Korvane\" id=\"b\">\n" + sym + "b1\" />\n" + sym +
                       "b2\" />\n</lmsymbols>\n</geomap>\n" + sym + "after\" />\n",
                   "a"));
  ASSERT_EQ(repo.NumEntries(), 3);
  EXPECT_EQ(repo.GetValues(3).Name.ToString(), "b2");
  // A start tag without the signature is no section.
  EXPECT_FALSE(Load("<lmsymbols id=\"a\">\n" + sym + "x\" />\n", ""));
}

TEST_F(SymbolRepository, MissingAttributesReadAsZeroAndSizesAreClamped) {
  ASSERT_TRUE(
      Load("<lmsymbols korvane>\n<symbol />\n"
           "<symbol size=\"99999\" leng=\"-99999\" transp=\"istrue\" colorfg=\"$1F\" "
           "element=\"ARROWTO\" />\n",
           ""));
  ASSERT_EQ(repo.NumEntries(), 2);
  EXPECT_EQ(repo.GetValues(1), Symbol(lmCross, "", 0, 0, 0, 0, false, 0, 0));
  EXPECT_EQ(repo.GetValues(2).Properties,
            (TSymbolProperties{lmArrowTo, kMaxSymbolExtent, 0x1F, 0, true, 0, -kMaxSymbolExtent}));
}

TEST_F(SymbolRepository, GrowsAcrossBlocksKeepingEveryEntry) {
  std::string text = "<lmsymbols korvane>\n";
  for (int i = 1; i <= 2001; ++i)
    text += "<symbol category=\"" + std::to_string(i) + "\" size=\"3\" />\n";
  ASSERT_TRUE(Load(text, ""));
  ASSERT_EQ(repo.NumEntries(), 2001);
  for (int32_t i : {1, 1000, 1001, 2000, 2001}) EXPECT_EQ(repo.GetValues(i).Category, i);
  // Reading again starts afresh.
  ASSERT_TRUE(Load("<lmsymbols korvane>\n<symbol category=\"5\" />\n", ""));
  EXPECT_EQ(repo.NumEntries(), 1);
}

TEST_F(SymbolRepository, EntriesOutsideTheCountAreTheDefaultAndCannotBeSet) {
  repo.SetNEntries(5);
  EXPECT_EQ(repo.GetValues(5), TSymbol{});  // zero-filled: kind lmPlus
  EXPECT_EQ(repo.GetValues(5).Properties.Kind, lmPlus);
  for (int32_t ix : {0, 6, -1}) {
    repo.SetValues(ix, Symbol(lmCircle, "x", 1, 1, 1, 1, true, 1, 1));
    EXPECT_EQ(repo.GetValues(ix), DefaultSymbolRecord()) << ix;
  }
  repo.SetValues(2, Symbol(lmCircle, "kept", 1, 1, 1, 1, true, 1, 1));
  repo.SetNEntries(-1);
  EXPECT_EQ(repo.NumEntries(), 5);
  repo.SetNEntries(2);
  repo.SetNEntries(3);
  EXPECT_EQ(repo.GetValues(2).Name.ToString(), "kept");
  EXPECT_EQ(repo.GetValues(3), TSymbol{});  // shrunk away, so zero again
  repo.Clear();
  EXPECT_EQ(repo.NumEntries(), 3);
  EXPECT_EQ(repo.GetValues(2), DefaultSymbolRecord());
  EXPECT_EQ(DefaultSymbolRecord().Properties,
            (TSymbolProperties{lmCross, 8, 0x000000, 0x0000FF, false, 90, 40}));
}

TEST_F(SymbolRepository, RestoreBringsBackTheEntriesOfTheLastBackup) {
  FillThreeRoads(repo);
  repo.Backup();
  const TSymbol second = repo.GetValues(2);
  repo.SetValues(2, DefaultSymbolRecord());
  repo.SetNEntries(7);
  repo.Restore();
  EXPECT_EQ(repo.NumEntries(), 3);
  EXPECT_EQ(repo.GetValues(2), second);
  repo.SetNEntries(0);
  repo.Backup();
  repo.SetNEntries(4);
  repo.Restore();
  EXPECT_EQ(repo.NumEntries(), 0);
}

TEST_F(SymbolRepository, AssignCopiesEntriesAndBackupIntoArraysOfItsOwn) {
  FillThreeRoads(repo);
  repo.Backup();
  repo.SetNEntries(1);
  TSymbolRepository copy(nullptr);
  copy.Assign(&repo);
  repo.SetValues(1, DefaultSymbolRecord());
  repo.SetNEntries(0);
  repo.Backup();
  EXPECT_EQ(copy.NumEntries(), 1);
  EXPECT_EQ(copy.GetValues(1).Name.ToString(), "Bridge");
  copy.Restore();
  EXPECT_EQ(copy.NumEntries(), 3);
  // Through the other side, and from a source of another class.
  TSymbolRepository third(nullptr);
  third.Assign(&copy);
  EXPECT_EQ(third.NumEntries(), 3);
  Platform::TComponent other(nullptr);
  EXPECT_THROW(third.Assign(&other), Platform::EConvertError);
}

TEST_F(SymbolRepository, StoringIntoAMissingFolderRaisesAnInputOutputError) {
  EXPECT_THROW(repo.StoreOnFile(dir.File("no/such/folder.xml"), "x"), Platform::EInOutError);
}
