#include "support/brontal/tagscan.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/testsupport/testsupport.h"

using namespace Zelk_tagscan;

namespace {

// The tag table of the map control's files; the last entry is the sentinel.
const std::array<std::string, 16> kTags = {
    "geomap",       "/geomap",  "calline",   "corners",   "resolution", "gmlandmarks",
    "/gmlandmarks", "landmark", "calquads",  "lmsymbols", "/lmsymbols", "symbol",
    "utmzone",      "utmsouth", "ellipsoid", "invalidtag"};
constexpr int32_t kLast = 15;

struct Tag {
  int32_t ix;
  std::string attributes, content;
};

// The same input read through a text file or through a memory stream.
class Input {
 public:
  Input(bool textFile, const std::string& text) : FTextFile(textFile) {
    if (textFile) {
      lumivar_test::WriteText(FDir.File("in.xml"), text);
      FFile.Reset(FDir.File("in.xml"));
    } else {
      FStream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
      FStream.SetPosition(0);
    }
  }
  Tag Next() {
    Tag t;
    t.ix = FTextFile ? ReadNextTagInTextFile(FFile, kTags, kLast, t.attributes, t.content)
                     : ReadNextTagInStream(FStream, kTags, kLast, t.attributes, t.content);
    return t;
  }
  // Every element up to the end of the input.
  std::vector<Tag> All() {
    std::vector<Tag> tags;
    for (int guard = 0; guard < 10000; ++guard) {
      tags.push_back(Next());
      if (tags.back().ix == kLast) break;
    }
    return tags;
  }
  // The next line after what the scanner consumed.
  std::string ReadLine() {
    if (FTextFile) {
      std::string line;
      FFile.ReadLn(line);
      return line;
    }
    std::string line;
    char c;
    while (FStream.Read(&c, 1) == 1 && c != '\n') line += c;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  Platform::TMemoryStream& Stream() { return FStream; }

 private:
  bool FTextFile;
  lumivar_test::TempDir FDir;
  Platform::TTextFile FFile;
  Platform::TMemoryStream FStream;
};

class TagScan : public ::testing::TestWithParam<bool> {
 protected:
  std::unique_ptr<Input> Open(const std::string& text) {
    return std::make_unique<Input>(GetParam(), text);
  }
};

const char kCalibration[] =
    "<?xml version=\"1.0\"?>\n"
    "\n"
    "<!-- TGeoMap Calibration / Korvane Suite -->\n"
    "<geomap sig=\"Korvane\" vers=\"1.0\" id=\"Map1\" model=\"equirect\" map=\"alps.jpg\" "
    "caption=\"Alps\">\n"
    "<corners>\n"
    "[48.90000,8.10000] [47.20000,8.10000] [47.20000,10.40000] [48.90000,10.40000] \n"
    "</corners>\n"
    "<resolution>120.500</resolution>\n"
    "<ellipsoid>WGS84</ellipsoid>\n"
    "<calline type=\"meridian\" value=\"8.5\" npoints=\"3\">\n"
    "[10,20] [11,200] [12,400] \n"
    "</calline>\n"
    "</geomap>\n"
    "after\n";

}  // namespace

TEST_P(TagScan, CalibrationElementsInOrder) {
  auto in = Open(kCalibration);
  for (int i = 0; i < 3; ++i) in->ReadLine();
  EXPECT_EQ(in->ReadLine().substr(0, 7), "<geomap");  // header read by lines
  Tag t = in->Next();
  EXPECT_EQ(t.ix, 3);
  EXPECT_EQ(t.attributes, "");
  EXPECT_EQ(t.content,
            "\n[48.90000,8.10000] [47.20000,8.10000] [47.20000,10.40000] [48.90000,10.40000] \n");
  t = in->Next();
  EXPECT_EQ(t.ix, 4);
  EXPECT_EQ(t.content, "120.500");
  t = in->Next();
  EXPECT_EQ(t.ix, 14);
  EXPECT_EQ(t.content, "WGS84");
  t = in->Next();
  EXPECT_EQ(t.ix, 2);
  EXPECT_EQ(t.attributes, " type=\"meridian\" value=\"8.5\" npoints=\"3\"");
  EXPECT_EQ(t.content, "\n[10,20] [11,200] [12,400] \n");
  t = in->Next();
  EXPECT_EQ(t.ix, 1);  // the end tag "/geomap"
  EXPECT_EQ(t.attributes, "");
  EXPECT_EQ(t.content, "");
  // The input stands right after the element.
  EXPECT_EQ(in->ReadLine(), "after");
  EXPECT_EQ(in->Next().ix, kLast);
}

TEST_P(TagScan, EmptyElementsAndContainers) {
  auto in = Open(
      "<gmlandmarks sig=\"Korvane\" id=\"north\">\n"
      "<landmark lat=\"47.5\" long=\"8.25\" />\n"
      "<landmark lat=\"48,25\"/>\n"
      "</gmlandmarks>\n"
      "<gmlandmarks id=\"south\">\n"
      "<landmark lat=\"-12\" />\n"
      "</gmlandmarks>\n");
  const auto tags = in->All();
  ASSERT_EQ(tags.size(), 8u);
  const int32_t expected[] = {5, 7, 7, 6, 5, 7, 6, kLast};
  for (size_t i = 0; i < tags.size(); ++i) EXPECT_EQ(tags[i].ix, expected[i]) << i;
  EXPECT_EQ(tags[0].attributes, " sig=\"Korvane\" id=\"north\"");
  EXPECT_EQ(tags[0].content, "");  // "/gmlandmarks" is in the list: a container
  EXPECT_EQ(tags[1].attributes, " lat=\"47.5\" long=\"8.25\" ");
  EXPECT_EQ(tags[1].content, "");
  EXPECT_EQ(tags[2].attributes, " lat=\"48,25\"");
  EXPECT_EQ(tags[5].attributes, " lat=\"-12\" ");
}

TEST_P(TagScan, UnknownElementsArePassedOver) {
  auto in = Open(
      "<doc><foo a=\"1\"><landmark lat=\"1\"/></foo>\n"
      "<!-- <landmark lat=\"9\"/> -->\n"
      "<![CDATA[ <landmark lat=\"8\"/> ]]>\n"
      "<!DOCTYPE x>\n"
      "a < b and 3<4 are text\n"
      "</calline></doc><landmark lat=\"2\"/>\n");
  const auto tags = in->All();
  ASSERT_EQ(tags.size(), 3u);
  EXPECT_EQ(tags[0].ix, 7);
  EXPECT_EQ(tags[0].attributes, " lat=\"1\"");
  EXPECT_EQ(tags[1].ix, 7);
  EXPECT_EQ(tags[1].attributes, " lat=\"2\"");
  EXPECT_EQ(tags[2].ix, kLast);
}

TEST_P(TagScan, NestedContentIsKeptWhole) {
  auto in = Open(
      "<corners>[1,2]<b>x</b><corners>inner</corners>[3,4]</corners>\n"
      "<resolution>5</resolution>\n");
  Tag t = in->Next();
  EXPECT_EQ(t.ix, 3);
  EXPECT_EQ(t.content, "[1,2]<b>x</b><corners>inner</corners>[3,4]");
  t = in->Next();
  EXPECT_EQ(t.ix, 4);
  EXPECT_EQ(t.content, "5");
}

TEST_P(TagScan, SeveralElementsOnOneLine) {
  auto in = Open("<utmzone>33</utmzone><utmsouth>TRUE</utmsouth></geomap>rest of line\nnext\n");
  Tag t = in->Next();
  EXPECT_EQ(t.ix, 12);
  EXPECT_EQ(t.content, "33");
  t = in->Next();
  EXPECT_EQ(t.ix, 13);
  EXPECT_EQ(t.content, "TRUE");
  EXPECT_EQ(in->Next().ix, 1);
  EXPECT_EQ(in->ReadLine(), "rest of line");
  EXPECT_EQ(in->ReadLine(), "next");
}

TEST_P(TagScan, NamesIgnoreLetterCase) {
  auto in = Open("<CalLine Type=\"parallel\">[1,2]</CALLINE><Landmark/>");
  Tag t = in->Next();
  EXPECT_EQ(t.ix, 2);
  EXPECT_EQ(t.attributes, " Type=\"parallel\"");
  EXPECT_EQ(t.content, "[1,2]");
  EXPECT_EQ(in->Next().ix, 7);
}

TEST_P(TagScan, QuotesInsideTags) {
  // ">" inside a quoted value does not end the tag; a stray quote spoils
  // only its own line.
  auto in = Open(
      "<landmark captext=\"a>b\" lat=\"1\"/>\n"
      "<landmark captext=\"5\" tall\" lat=\"2\" />\n"
      "<landmark lat=\"3\"/>\n");
  const auto tags = in->All();
  ASSERT_EQ(tags.size(), 4u);
  EXPECT_EQ(tags[0].attributes, " captext=\"a>b\" lat=\"1\"");
  EXPECT_EQ(tags[1].ix, 7);
  EXPECT_EQ(tags[2].ix, 7);
  EXPECT_EQ(tags[2].attributes, " lat=\"3\"");
}

TEST_P(TagScan, EndOfInputRepeats) {
  auto in = Open("<landmark/>");
  EXPECT_EQ(in->Next().ix, 7);
  for (int i = 0; i < 3; ++i) {
    Tag t = in->Next();
    EXPECT_EQ(t.ix, kLast);
    EXPECT_EQ(t.attributes, "");
    EXPECT_EQ(t.content, "");
  }
}

TEST_P(TagScan, BadInputGivesTheEndOfInput) {
  for (const char* text :
       {"", "\n\n", "<", "<landmark lat=\"1\"", "<corners>[1,2] [3,4]", "<corners>[1,2]</corners",
        "<!-- <landmark/>", "<![CDATA[", "</", "<<<<>>>>", "<landmark lat=\"1>\n"}) {
    auto in = Open(text);
    Tag t = in->Next();
    EXPECT_EQ(t.ix, kLast) << text;
    EXPECT_EQ(t.content, "") << text;
  }
}

TEST_P(TagScan, BinaryGarbage) {
  std::mt19937 gen(7);
  for (int round = 0; round < 50; ++round) {
    std::string text(static_cast<size_t>(gen() % 3000), '\0');
    const char alphabet[] = "<>/\"!-?[]= \nlandmrkcoeis\x00\xff";
    for (char& c : text)
      c = round % 2 ? static_cast<char>(gen()) : alphabet[gen() % (sizeof alphabet - 1)];
    auto in = Open(text);
    int calls = 0;
    while (in->Next().ix != kLast) ASSERT_LT(++calls, 3000);
  }
}

TEST_P(TagScan, ContentLongerThanAReadBlock) {
  const std::string big(10000, 'x');
  auto in = Open("<lmsymbols>\n<resolution>" + big + "</resolution><symbol name=\"a\"/>\n");
  EXPECT_EQ(in->Next().ix, 9);
  Tag t = in->Next();
  EXPECT_EQ(t.ix, 4);
  EXPECT_EQ(t.content, big);
  t = in->Next();
  EXPECT_EQ(t.ix, 11);
  EXPECT_EQ(t.attributes, " name=\"a\"");
}

INSTANTIATE_TEST_SUITE_P(Sources, TagScan, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "TextFile" : "Stream"; });

TEST(TagScanStream, PositionAfterTheElement) {
  Platform::TMemoryStream s;
  const std::string text = "<landmark a=\"1\"/>  <landmark a=\"2\"/>";
  s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  s.SetPosition(0);
  std::string attr, content;
  EXPECT_EQ(ReadNextTagInStream(s, kTags, kLast, attr, content), 7);
  EXPECT_EQ(s.Position(), 17);
  EXPECT_EQ(ReadNextTagInStream(s, kTags, kLast, attr, content), 7);
  EXPECT_EQ(attr, " a=\"2\"");
  EXPECT_EQ(s.Position(), static_cast<int64_t>(text.size()));
}

TEST(TagScanTextFile, CrLfLines) {
  lumivar_test::TempDir dir;
  lumivar_test::WriteText(dir.File("a.xml"),
                          "<corners>\r\n[1,2] \r\n</corners>\r\n<landmark/>\r\n");
  Platform::TTextFile f;
  f.Reset(dir.File("a.xml"));
  std::string attr, content;
  EXPECT_EQ(ReadNextTagInTextFile(f, kTags, kLast, attr, content), 3);
  EXPECT_EQ(content, "\n[1,2] \n");
  EXPECT_EQ(ReadNextTagInTextFile(f, kTags, kLast, attr, content), 7);
  EXPECT_EQ(ReadNextTagInTextFile(f, kTags, kLast, attr, content), kLast);
  EXPECT_TRUE(f.Eof());
}

TEST(TagScan, ListShorterThanLastAndPlainCStrings) {
  const char* const names[] = {"a", "/a", "end"};
  Platform::TMemoryStream s;
  const std::string text = "<b/><a x=\"1\"/></a><c/>";
  s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  s.SetPosition(0);
  std::string attr, content;
  EXPECT_EQ(ReadNextTagInStream(s, names, 2, attr, content), 0);
  EXPECT_EQ(attr, " x=\"1\"");
  EXPECT_EQ(ReadNextTagInStream(s, names, 2, attr, content), 1);
  EXPECT_EQ(ReadNextTagInStream(s, names, 2, attr, content), 2);
  EXPECT_EQ(ReadNextTagInStream(s, names, -1, attr, content), -1);
}

TEST(StringIx, PositionFromOne) {
  const std::array<std::string, 8> kinds = {"cross",     "square",  "triangle", "circle",
                                            "arrowfrom", "arrowto", "crossbox", "spade"};
  EXPECT_EQ(StringIx("cross", kinds, 7), 1);
  EXPECT_EQ(StringIx("spade", kinds, 7), 8);
  EXPECT_EQ(StringIx("circle", kinds, 7), 4);
}

TEST(StringIx, AbsentTextIsOutsideTheList) {
  const std::array<std::string, 8> kinds = {"cross",     "square",  "triangle", "circle",
                                            "arrowfrom", "arrowto", "crossbox", "spade"};
  for (const char* t : {"plus", "", "Cross", "cross "}) {
    const int32_t ix = StringIx(t, kinds, 7);
    EXPECT_TRUE(ix < 1 || ix > 8) << t;
  }
  // Entries after Last are not searched.
  EXPECT_EQ(StringIx("spade", kinds, 6), 0);
  const char* const models[] = {"parabolicip", "biquadraticpn", "utm"};
  EXPECT_EQ(StringIx("utm", models, 2), 3);
}
