// The text routines behind the calibration, landmark and symbol readers.
#include "geomap/caltext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/streams.h"
#include "support/brontal/brontal.h"

using namespace ZELK_geomap;

namespace {

Platform::TMemoryStream StreamOf(const std::string& text) {
  Platform::TMemoryStream s;
  s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  s.SetPosition(0);
  return s;
}

}  // namespace

TEST(TagTable, HoldsTheSixteenNamesInScannerOrder) {
  ASSERT_EQ(XMLTagNames.size(), 16u);
  EXPECT_EQ(XMLTagNames[xtGeoMap], "geomap");
  EXPECT_EQ(XMLTagNames[xtGeoMapEnd], "/geomap");
  EXPECT_EQ(XMLTagNames[xtCalLine], "calline");
  EXPECT_EQ(XMLTagNames[xtCorners], "corners");
  EXPECT_EQ(XMLTagNames[xtResolution], "resolution");
  EXPECT_EQ(XMLTagNames[xtLandmarks], "gmlandmarks");
  EXPECT_EQ(XMLTagNames[xtLandmarksEnd], "/gmlandmarks");
  EXPECT_EQ(XMLTagNames[xtLandmark], "landmark");
  EXPECT_EQ(XMLTagNames[xtCalQuads], "calquads");
  EXPECT_EQ(XMLTagNames[xtSymbols], "lmsymbols");
  EXPECT_EQ(XMLTagNames[xtSymbolsEnd], "/lmsymbols");
  EXPECT_EQ(XMLTagNames[xtSymbol], "symbol");
  EXPECT_EQ(XMLTagNames[xtUTMZone], "utmzone");
  EXPECT_EQ(XMLTagNames[xtUTMSouth], "utmsouth");
  EXPECT_EQ(XMLTagNames[xtEllipsoid], "ellipsoid");
  EXPECT_EQ(XMLTagNames[xtInvalid], "invalidtag");
}

TEST(FormatFixed, WritesExactDecimalsWithAPoint) {
  EXPECT_EQ(FormatFixed(48.2, 1, 5), "48.20000");
  EXPECT_EQ(FormatFixed(-16.123456, 1, 5), "-16.12346");
  EXPECT_EQ(FormatFixed(0.0005, 1, 3), "0.001");  // nearest, the binary value is above half
  EXPECT_EQ(FormatFixed(12.0, 1, 0), "12");
  EXPECT_EQ(FormatFixed(2.5, 0, 3), "2.500");
  EXPECT_EQ(FormatFixed(1e20, 1, 1), "100000000000000000000.0");
}

TEST(FormatFixed, PadsWithBlanksOrZeros) {
  EXPECT_EQ(FormatFixed(3.14159, 8, 2), "    3.14");
  EXPECT_EQ(FormatFixed(-3.14159, 8, 2), "   -3.14");
  EXPECT_EQ(FormatFixed(3.14159, -8, 2), "00003.14");
  EXPECT_EQ(FormatFixed(-3.14159, -8, 2), "-0003.14");
  EXPECT_EQ(FormatFixed(-123.5, -3, 1), "-123.5");  // never cut to the width
}

TEST(FormatFixed, ScientificWithTwoDigitExponent) {
  EXPECT_EQ(FormatFixed(1234.5, 0, -2), "1.23450000000000E+03");
  EXPECT_EQ(FormatFixed(-0.00015, 0, -2), "-1.50000000000000E-04");
  EXPECT_EQ(FormatFixed(0.0, 0, -2), "0.00000000000000E+00");
  EXPECT_EQ(FormatFixed(1e99, 0, -2), "1.00000000000000E+99");
  EXPECT_EQ(FormatFixed(1.5, 22, -2), "  1.50000000000000E+00");
}

TEST(FormatFixed, ThreeDigitExponentBecomesStars) {
  const std::string normal = FormatFixed(1.5e99, 0, -2);
  EXPECT_EQ(FormatFixed(1.5e100, 0, -2), std::string(normal.size(), '*'));
  EXPECT_EQ(FormatFixed(-2e-300, 0, -2), std::string(normal.size() + 1, '*'));
  EXPECT_EQ(FormatFixed(1.5e100, -25, -2), std::string(25, '*'));
}

TEST(FormatFixed, RejectsUnknownDecimalModes) {
  EXPECT_THROW(FormatFixed(1, 0, -1), Zelk_zelkbase::EZELKError);
  EXPECT_THROW(FormatFixed(1, 0, -3), Zelk_zelkbase::EZELKError);
  EXPECT_THROW(FormatFixed(1, 0, 100000), Zelk_zelkbase::EZELKError);
}

TEST(FormatFixed, ExtremeValuesStayExact) {
  const std::string big = FormatFixed(std::numeric_limits<double>::max(), 1, 2);
  EXPECT_EQ(big.size(), 309u + 3u);
  EXPECT_EQ(big.substr(0, 6), "179769");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 1, 2), "INF");
  EXPECT_EQ(FormatFixed(std::nan(""), 5, 2), "  NAN");
}

TEST(BoolToText, EveryStyleAndTheFallback) {
  const char* trues[] = {"TRUE", "T", ".T.", "1", "-1", "FF", "YES", "GOOD"};
  const char* falses[] = {"FALSE", "F", ".F.", "0", "0", "00", "NO", "BAD"};
  for (int style = 0; style < 8; ++style) {
    EXPECT_EQ(BoolToText(true, style), trues[style]) << style;
    EXPECT_EQ(BoolToText(false, style), falses[style]) << style;
  }
  EXPECT_EQ(BoolToText(true, 8), "TRUE");
  EXPECT_EQ(BoolToText(false, -1), "FALSE");
}

TEST(PosOfNth, CountsNonOverlappingOccurrences) {
  const std::string attrs = "id=\"ab\" model=\"utm\"";
  EXPECT_EQ(PosOfNth("\"", attrs, 1, 2, false), 7);
  EXPECT_EQ(PosOfNth("\"", attrs, 1, 1, false), 4);
  EXPECT_EQ(PosOfNth("\"", attrs, 5, 1, false), 7);
  EXPECT_EQ(PosOfNth("\"", attrs, -5, 2, false), 7);
  EXPECT_EQ(PosOfNth("aa", "aaaa", 1, 2, false), 3);
  EXPECT_EQ(PosOfNth("aa", "aaaa", 1, 3, false), 0);
}

TEST(PosOfNth, ZeroWhenNothingToFind) {
  EXPECT_EQ(PosOfNth("x", "abc", 1, 1, false), 0);
  EXPECT_EQ(PosOfNth("a", "abc", 1, 0, false), 0);
  EXPECT_EQ(PosOfNth("a", "abc", 1, -1, false), 0);
  EXPECT_EQ(PosOfNth("", "abc", 1, 1, false), 0);
  EXPECT_EQ(PosOfNth("a", "abc", 4, 1, false), 0);
  EXPECT_EQ(PosOfNth("a", "abc", 1000, 1, false), 0);
  EXPECT_EQ(PosOfNth("a", "", 1, 1, false), 0);
}

TEST(PosOfNth, IgnoreCaseComparesInLowerCase) {
  EXPECT_EQ(PosOfNth("GEOMAP", "<GeoMap sig=", 1, 1, true), 2);
  EXPECT_EQ(PosOfNth("GEOMAP", "<GeoMap sig=", 1, 1, false), 0);
}

TEST(TrimBlanks, OnlyBlanksAreRemoved) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("    "), "");
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimBlanks("\tx\t"), "\tx\t");
}

TEST(ReadLineFromStream, LfModeStripsCrLf) {
  auto s = StreamOf("one\r\ntwo\nthree");
  bool eof = false;
  EXPECT_EQ(ReadLineFromStream(s, eof, 0), "one");
  EXPECT_FALSE(eof);
  EXPECT_EQ(ReadLineFromStream(s, eof, 0), "two");
  EXPECT_FALSE(eof);
  EXPECT_EQ(ReadLineFromStream(s, eof, 0), "three");
  EXPECT_TRUE(eof);
}

TEST(ReadLineFromStream, FinalLineEndLeavesOneEmptyLine) {
  auto s = StreamOf("a\n");
  bool eof = false;
  EXPECT_EQ(ReadLineFromStream(s, eof, 0), "a");
  EXPECT_FALSE(eof);
  EXPECT_EQ(ReadLineFromStream(s, eof, 0), "");
  EXPECT_TRUE(eof);
}

TEST(ReadLineFromStream, OtherModes) {
  bool eof = false;
  auto cr = StreamOf("a\rb\nc\r");
  EXPECT_EQ(ReadLineFromStream(cr, eof, 1), "a");
  EXPECT_EQ(ReadLineFromStream(cr, eof, 1), "b\nc");  // the trailing CR and the LF go
  auto either = StreamOf("a\rb\nc");
  EXPECT_EQ(ReadLineFromStream(either, eof, 2), "a");
  EXPECT_EQ(ReadLineFromStream(either, eof, 2), "b");
  EXPECT_EQ(ReadLineFromStream(either, eof, 2), "c");
  EXPECT_TRUE(eof);
  auto lfcr = StreamOf("a\rb\n\rc");
  EXPECT_EQ(ReadLineFromStream(lfcr, eof, 3), "a\rb");
  EXPECT_EQ(ReadLineFromStream(lfcr, eof, 3), "c");
  auto crlf = StreamOf("a\nb\r\nc");
  EXPECT_EQ(ReadLineFromStream(crlf, eof, 4), "a\nb");
  EXPECT_EQ(ReadLineFromStream(crlf, eof, 4), "c");
  EXPECT_TRUE(eof);
}

TEST(ReadLineFromStream, RemovesAtMostTwoLineEndCharacters) {
  auto s = StreamOf("x\r\r\n");
  bool eof = false;
  EXPECT_EQ(ReadLineFromStream(s, eof, 0), "x\r");
}

TEST(ReadLineFromStream, EmptyStreamIsAtEnd) {
  auto s = StreamOf("");
  bool eof = false;
  EXPECT_EQ(ReadLineFromStream(s, eof, 0), "");
  EXPECT_TRUE(eof);
}

TEST(NextAttribute, ReadsQuotedAndPlainValues) {
  const std::string text = " id=\"my map\" zone = 33 x=\"a=b\"";
  int32_t pos = 1;
  std::string name, value;
  ASSERT_EQ(NextAttribute(text, pos, name, value), 0);
  EXPECT_EQ(name, "id");
  EXPECT_EQ(value, "my map");
  ASSERT_EQ(NextAttribute(text, pos, name, value), 0);
  EXPECT_EQ(name, "zone");
  EXPECT_EQ(value, "33");
  ASSERT_EQ(NextAttribute(text, pos, name, value), 0);
  EXPECT_EQ(name, "x");
  EXPECT_EQ(value, "a=b");
  EXPECT_EQ(NextAttribute(text, pos, name, value), 4);
}

TEST(NextAttribute, ReportsEachMalformation) {
  std::string name, value;
  int32_t pos = 1;
  EXPECT_EQ(NextAttribute("ab\"c", pos, name, value), 1);
  EXPECT_EQ(pos, 4);
  pos = 1;
  EXPECT_EQ(NextAttribute("a==1", pos, name, value), 2);
  pos = 1;
  EXPECT_EQ(NextAttribute("a=1=2", pos, name, value), 3);
  EXPECT_EQ(value, "1");
  pos = 0;
  EXPECT_EQ(NextAttribute("a=1", pos, name, value), 4);
  pos = 4;
  EXPECT_EQ(NextAttribute("a=1", pos, name, value), 4);
  pos = 1;
  EXPECT_EQ(NextAttribute("", pos, name, value), 4);
}

TEST(NextAttribute, EndOfTextEndsAValueOrName) {
  std::string name, value;
  int32_t pos = 1;
  EXPECT_EQ(NextAttribute("a=\"open", pos, name, value), 0);
  EXPECT_EQ(value, "open");
  EXPECT_EQ(pos, 8);
  pos = 1;
  EXPECT_EQ(NextAttribute("  lonely ", pos, name, value), 0);
  EXPECT_EQ(name, "lonely");
  EXPECT_EQ(value, "");
}

TEST(AttributeValue, FindsByNameIgnoringCase) {
  const std::string text = " lat=\"48.5\" long=\"16.25\"";
  EXPECT_EQ(AttributeValue(text, "LONG"), "16.25");
  EXPECT_EQ(AttributeValue(text, "lat"), "48.5");
  EXPECT_EQ(AttributeValue(text, "la"), "");
  EXPECT_EQ(AttributeValue(text, "height"), "");
  EXPECT_EQ(AttributeValue("a==1 b=\"2\"", "b"), "");  // stops at the malformed one
  EXPECT_EQ(AttributeValue("", "a"), "");
}

TEST(ScanInteger, SkipsBlanksTakesSignAndStopsOnNonDigit) {
  int32_t pos = 1;
  EXPECT_EQ(ScanInteger("  +42,7", pos), 42);
  EXPECT_EQ(pos, 6);
  pos = 1;
  EXPECT_EQ(ScanInteger("-17]", pos), -17);
  EXPECT_EQ(pos, 4);
  pos = 7;
  EXPECT_EQ(ScanInteger("  +42,7", pos), 7);
  EXPECT_EQ(pos, 8);
}

TEST(ScanInteger, NoDigitsGiveZero) {
  int32_t pos = 1;
  EXPECT_EQ(ScanInteger("", pos), 0);
  EXPECT_EQ(ScanInteger("abc", pos), 0);
  EXPECT_EQ(pos, 1);
  pos = 1;
  EXPECT_EQ(ScanInteger("   ", pos), 0);
  EXPECT_EQ(pos, 3);  // blanks are skipped up to the last character only
  pos = 1;
  EXPECT_EQ(ScanInteger("-x", pos), 0);
  EXPECT_EQ(pos, 2);
  pos = 50;
  EXPECT_EQ(ScanInteger("12", pos), 0);
  EXPECT_EQ(pos, 50);
}

TEST(ScanInteger, SaturatesBeyondTheIntegerRange) {
  int32_t pos = 1;
  EXPECT_EQ(ScanInteger("2147483647", pos), 2147483647);
  pos = 1;
  EXPECT_EQ(ScanInteger("-2147483648", pos), std::numeric_limits<int32_t>::min());
  pos = 1;
  EXPECT_EQ(ScanInteger("99999999999999999999999 ", pos), 2147483647);
  EXPECT_EQ(pos, 24);
  pos = 1;
  EXPECT_EQ(ScanInteger("-99999999999999999999999", pos), std::numeric_limits<int32_t>::min());
}

TEST(ScanFloat, DocumentedExamples) {
  int32_t pos = 1;
  EXPECT_DOUBLE_EQ(ScanFloat("  -12.5x", true, 3, pos), -12.5);
  EXPECT_EQ(pos, 8);
  pos = 1;
  EXPECT_EQ(ScanFloat("1.2.3", true, 1, pos), 0.0);
  pos = 1;
  EXPECT_EQ(ScanFloat("5.", true, 1, pos), 5.0);
  EXPECT_EQ(pos, 3);
  pos = 1;
  EXPECT_EQ(ScanFloat("12,5", true, 3, pos), 12.5);
}

TEST(ScanFloat, DecimalModes) {
  int32_t pos = 1;
  EXPECT_EQ(ScanFloat("12,5", true, 1, pos), 12.0);
  EXPECT_EQ(pos, 3);
  pos = 1;
  EXPECT_EQ(ScanFloat("12.5", true, 2, pos), 12.0);
  pos = 1;
  EXPECT_EQ(ScanFloat("12,5", true, 2, pos), 12.5);
  pos = 1;
  EXPECT_EQ(ScanFloat(".25", true, 1, pos), 0.25);
  pos = 1;
  EXPECT_EQ(ScanFloat("-.", true, 1, pos), 0.0);
}

TEST(ScanFloat, Exponents) {
  int32_t pos = 1;
  EXPECT_EQ(ScanFloat("1.5e3]", true, 1, pos), 1500.0);
  EXPECT_EQ(pos, 6);
  pos = 1;
  EXPECT_EQ(ScanFloat("2E-2,", true, 3, pos), 0.02);
  pos = 1;
  EXPECT_EQ(ScanFloat("2E+2", true, 3, pos), 200.0);
  pos = 1;
  EXPECT_EQ(ScanFloat("4.5E1,16", false, 1, pos), 4.5);  // stops on the "E"
  EXPECT_EQ(pos, 4);
  pos = 1;
  EXPECT_EQ(ScanFloat("7E", true, 1, pos), 7.0);
  pos = 1;
  EXPECT_EQ(ScanFloat("7E x", true, 1, pos), 0.0);  // a blank after "E" is an error
  pos = 1;
  EXPECT_EQ(ScanFloat("1E5.5", true, 1, pos), 1e5);
  EXPECT_EQ(pos, 4);
}

TEST(ScanFloat, ErrorsGiveZero) {
  for (const char* text : {"", "x", "--1", "+ 1", "E5", "1..2", "  "}) {
    int32_t pos = 1;
    EXPECT_EQ(ScanFloat(text, true, 3, pos), 0.0) << text;
  }
}

TEST(ScanFloat, HugeAndTinyValuesStayFinite) {
  const double maxD = Zelk_univconst::uc_MaxDouble;
  int32_t pos = 1;
  EXPECT_EQ(ScanFloat("1E400", true, 1, pos), maxD);
  pos = 1;
  EXPECT_EQ(ScanFloat("-1E99999999999999", true, 1, pos), -maxD);
  pos = 1;
  EXPECT_EQ(ScanFloat("1E-400", true, 1, pos), 0.0);
  pos = 1;
  EXPECT_EQ(ScanFloat(std::string(500, '9'), true, 1, pos), maxD);
  EXPECT_EQ(pos, 501);
  pos = 1;
  EXPECT_EQ(ScanFloat("0." + std::string(500, '0') + "1", true, 1, pos), 0.0);
  pos = 1;
  EXPECT_EQ(ScanFloat("0." + std::string(500, '0') + "1E600", true, 1, pos), 1e99);
}

TEST(ScanFloat, PositionBelowOneStartsAtTheBeginning) {
  int32_t pos = -3;
  EXPECT_EQ(ScanFloat("3.5", true, 1, pos), 3.5);
  EXPECT_EQ(pos, 4);
}
