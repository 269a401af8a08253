#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

using namespace Platform;

TEST(CodePage, AsciiPassesBothWays) {
  const std::string ascii = "Lake Geneva, 46.45 N / 6.55 E <ok>";
  EXPECT_EQ(Utf8ToCp1252(ascii), ascii);
  EXPECT_EQ(Cp1252ToUtf8(ascii), ascii);
}

TEST(CodePage, KnownCharacters) {
  // Latin-1 range: the byte is the code point.
  EXPECT_EQ(Utf8ToCp1252("Z\xC3\xBCrich"), "Z\xFCrich");              // ü
  EXPECT_EQ(Utf8ToCp1252("\xC3\x85land \xC3\x9F"), "\xC5land \xDF");  // Å, ß
  // The $80..$9F block differs from Latin-1.
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");  // €
  EXPECT_EQ(Utf8ToCp1252("\xC5\xA0"), "\x8A");      // Š
  EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x94"), "\x97");  // em dash
  EXPECT_EQ(Utf8ToCp1252("\xC5\xB8"), "\x9F");      // Ÿ
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Cp1252ToUtf8("\x99"), "\xE2\x84\xA2");  // ™
  EXPECT_EQ(Cp1252ToUtf8("\xB0"), "\xC2\xB0");      // °
}

TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(CodePage, UnrepresentableBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xBD"), "?");               // ruble sign
  EXPECT_EQ(Utf8ToCp1252("\xE6\x9D\xB1\xE4\xBA\xAC"), "??");  // two CJK characters
  EXPECT_EQ(Utf8ToCp1252("a\xF0\x9F\x98\x80z"), "a?z");       // emoji, 4 bytes
  EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");                   // U+0080 has no byte
}

TEST(CodePage, MalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");        // cut sequence
  EXPECT_EQ(Utf8ToCp1252("\xC3(x"), "?(x");      // bad continuation
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "?");      // overlong "/"
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "?");  // surrogate
  EXPECT_EQ(Utf8ToCp1252("\xFF"), "?");
}

TEST(CodePage, Utf8Length) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("Z\xC3\xBCrich"), 6u);
  EXPECT_EQ(Utf8Length("\xE2\x82\xAC\xF0\x9F\x98\x80"), 2u);
}

TEST(CodePage, LowerCaseOfFileNames) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"Maps/City.XML", "maps/city.xml"},
      {"Z\xC3\x9CRICH \xC3\x97", "z\xC3\xBCrich \xC3\x97"},  // Ü lowers, × stays
      {"\xC5\xBD\xC5\xB9\xC4\xB9\xC5\xB8", "\xC5\xBE\xC5\xBA\xC4\xBA\xC3\xBF"},  // ŽŹĹŸ
      {"\xC4\x80\xC5\xA0\xC4\xB0", "\xC4\x81\xC5\xA1\xC4\xB0"},  // ĀŠ lower, İ stays
      {"\xCE\xA9\xD0\x96\xD0\x81", "\xCF\x89\xD0\xB6\xD1\x91"},  // ΩЖЁ
      {"A\xFF\xC3"
       "B",
       "a\xFF\xC3"
       "b"},  // malformed bytes pass unchanged
  };
  for (const auto& c : cases) EXPECT_EQ(LowerCaseUtf8(c.in), c.out) << c.in;
}

TEST(ShortString, RecordBytesAreLengthAndPaddedCharacters) {
  ShortString<15> s = "Z\xC3\xBCrich";
  EXPECT_EQ(s.Length(), 6);
  EXPECT_EQ(s.Chars(), "Z\xFCrich");
  EXPECT_EQ(s.ToString(), "Z\xC3\xBCrich");
  uint8_t bytes[16];
  s.ToBytes(bytes);
  const uint8_t expected[16] = {6, 'Z', 0xFC, 'r', 'i', 'c', 'h', 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], expected[i]) << i;
  EXPECT_EQ(sizeof(s), 16u);
}

TEST(ShortString, CutToNCharactersNotBytes) {
  // Six two-byte UTF-8 characters fit a short string of 6.
  ShortString<6> s = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C!";
  EXPECT_EQ(s.Length(), 6);
  EXPECT_EQ(s.ToString(), "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C");
  ShortString<3> t = std::string("abcdef");
  EXPECT_EQ(t.ToString(), "abc");
  ShortString<3> u = "\xE2\x82\xBD\xE2\x82\xBD";
  EXPECT_EQ(u.Chars(), "??");
}

TEST(ShortString, FromBytesClampsTheLengthByte) {
  uint8_t bytes[5] = {200, 'a', 'b', 'c', 'd'};
  auto s = ShortString<4>::FromBytes(bytes);
  EXPECT_EQ(s.Length(), 4);
  EXPECT_EQ(s.Chars(), "abcd");
  uint8_t out[5];
  s.ToBytes(out);
  EXPECT_EQ(out[0], 4);
  auto r = ShortString<4>::FromRaw("\xFF\x80xyz");
  EXPECT_EQ(r.Chars(), "\xFF\x80xy");
  EXPECT_EQ(r[1], '\xFF');
  EXPECT_TRUE(r == ShortString<4>::FromRaw("\xFF\x80xy"));
  ShortString<4> e;
  EXPECT_EQ(e.Length(), 0);
  EXPECT_EQ(e.ToString(), "");
  e = nullptr;
  EXPECT_EQ(e.Length(), 0);
}

TEST(CodePage, UnassignedBytesMapToControlCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(Utf8ToCp1252("\xC2\x81\xC2\x9D"), "\x81\x9D");
}
