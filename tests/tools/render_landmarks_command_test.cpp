// `lumivar render --landmarks FILE [ID] --symbols FILE`: the landmarks of a
// section drawn as the control draws them, those of class k with the symbol
// of the repository's category k.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geomap/geomap.h"
#include "tests/testsupport/golden.h"
#include "tests/testsupport/testsupport.h"

using namespace ZELK_geomap;
using lumivar_test::RunTool;

namespace {

// Colours the window surface's 15-bit pixels hold exactly.
constexpr Platform::TColor kOwnFG = 0x00F800, kRepositoryFG = 0xF800F8;

// A 300 x 200 map over 48..46 N, 16..19 E with a landmark file of two
// sections and a symbol repository whose category 3 is a magenta square.
class RenderLandmarksCommand : public ::testing::Test {
 protected:
  RenderLandmarksCommand() {
    Platform::TBitmap bmp;
    bmp.SetPixelFormat(Platform::pf24bit);
    bmp.SetSize(300, 200);
    TGeoMap map(nullptr);
    map.SetMapBitMap(&bmp);
    map.SetCalibModel(cmEquiRect);
    map.AddCalibPoint(48.0, 16.0, 0, 0);
    map.AddCalibPoint(48.0, 19.0, 300, 0);
    map.AddCalibPoint(46.0, 16.0, 0, 200);
    map.SaveMap(dir.File("map.bmp"), "Map");
    lumivar_test::WriteText(
        dir.File("lm.xml"),
        "<gmlandmarks sig=\"Korvane\" id=\"first\">\n"
        "<landmark lat=\"47.5\" long=\"16.5\" class=\"3\" element=\"cross\" size=\"5\" "
        "colorfg=\"0000F800\" captext=\"Three\" capsize=\"8\" capdy=\"20\" />\n"
        "<landmark lat=\"46.5\" long=\"18.5\" class=\"4\" element=\"cross\" size=\"5\" "
        "colorfg=\"0000F800\" />\n"
        "</gmlandmarks>\n"
        "<gmlandmarks sig=\"Korvane\" id=\"second\">\n"
        "<landmark lat=\"47\" long=\"17.5\" class=\"3\" element=\"circle\" size=\"4\" "
        "colorfg=\"0000F800\" />\n"
        "</gmlandmarks>\n");
    TSymbolRepository repository(nullptr);
    repository.SetNEntries(2);
    TSymbol s;
    s.Properties = TSymbolProperties{lmSquare, 6, kRepositoryFG, 0xFFFFFF, true, 0, 0};
    s.Category = 3;
    repository.SetValues(1, s);
    s.Properties.FGColor = 0x103050;  // a second of the same category does not count
    repository.SetValues(2, s);
    repository.StoreOnFile(dir.File("symbols.xml"), "styles");
  }

  std::string Render(const std::string& options) {
    const auto r =
        RunTool("render " + dir.File("map.xml") + " -o " + dir.File("out.png") + " " + options);
    EXPECT_EQ(r.status, 0) << r.out;
    return r.out;
  }
  lumivar_test::RgbPicture Picture() { return lumivar_test::ReadPng(dir.File("out.png")); }
  static int64_t Count(const lumivar_test::RgbPicture& p, Platform::TColor c) {
    int64_t n = 0;
    for (uint32_t px : p.Pixels) n += px == c;
    return n;
  }

  lumivar_test::TempDir dir;
};

}  // namespace

TEST_F(RenderLandmarksCommand, DrawsTheSectionsLandmarksAsTheControlDoes) {
  const std::string out = Render("--landmarks " + dir.File("lm.xml"));
  // no identifier: the first section, and the reading runs on into the next
  EXPECT_NE(out.find("3 landmarks from " + dir.File("lm.xml")), std::string::npos) << out;
  // the same control, painted here
  TGeoMap map(nullptr);
  map.SetOnMapImageRequest([&](Platform::TObject*, std::string& name) { name = dir.File(name); });
  ASSERT_TRUE(map.LoadCalDataFromXML(dir.File("map.xml"), "Map"));
  map.SetBounds(0, 0, 300, 200);
  ASSERT_TRUE(map.LoadLandMarks(dir.File("lm.xml"), ""));
  const lumivar_test::RgbPicture p = Picture();
  const std::vector<uint8_t> here = lumivar_test::RgbOf(*map.Surface());
  std::vector<uint8_t> written;
  int32_t w = 0, h = 0;
  ASSERT_TRUE(lumivar_test::ReadPngRgb(dir.File("out.png"), w, h, written));
  EXPECT_TRUE(written == here);
  EXPECT_GT(Count(p, kOwnFG), 0);
}

TEST_F(RenderLandmarksCommand, ASectionIsChosenByItsIdentifier) {
  EXPECT_NE(Render("--landmarks " + dir.File("lm.xml") + " SECOND --mag 1").find("1 landmark from"),
            std::string::npos);
  EXPECT_NE(Render("--landmarks " + dir.File("lm.xml") + " first --mag 1").find("3 landmarks"),
            std::string::npos);
}

TEST_F(RenderLandmarksCommand, ClassesTakeTheSymbolOfTheirCategory) {
  Render("--landmarks " + dir.File("lm.xml") + " --symbols " + dir.File("symbols.xml"));
  const lumivar_test::RgbPicture p = Picture();
  // both of class 3 as the repository says: outline squares of 13 x 13
  // pixels; class 4 keeps its own green cross
  EXPECT_EQ(Count(p, kRepositoryFG), 2 * 4 * 12);
  EXPECT_EQ(Count(p, 0x103050), 0);
  EXPECT_GT(Count(p, kOwnFG), 0);
  Render("--landmarks " + dir.File("lm.xml") + " second --symbols " + dir.File("symbols.xml"));
  EXPECT_EQ(Count(Picture(), kOwnFG), 0);
}

TEST_F(RenderLandmarksCommand, RefusesMissingFilesAndSections) {
  const std::string render = "render " + dir.File("map.xml") + " -o " + dir.File("x.png") + " ";
  struct Case {
    std::string args;
    int status;
    std::string message;
  } const cases[] = {
      {render + "--landmarks", 2, "--landmarks needs a file"},
      {render + "--symbols " + dir.File("symbols.xml"), 2, "give both"},
      {render + "--landmarks " + dir.File("none.xml"), 1, "cannot open '" + dir.File("none.xml")},
      {render + "--landmarks " + dir.File("lm.xml") + " third", 1,
       "no landmark section 'third' in '" + dir.File("lm.xml") + "'"},
      {render + "--landmarks " + dir.File("symbols.xml"), 1, "no landmark section in"},
      {render + "--landmarks " + dir.File("lm.xml") + " --symbols " + dir.File("lm.xml"), 1,
       "no symbol repository in '" + dir.File("lm.xml") + "'"},
      {render + "--landmarks " + dir.File("lm.xml") + " --symbols " + dir.File("none.xml"), 1,
       "cannot open"},
      // the calibration file goes first: otherwise it is taken for the section
      {"render --landmarks " + dir.File("lm.xml") + " " + dir.File("map.xml") + " -o x.png", 2,
       "usage: render CALFILE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  }
}
