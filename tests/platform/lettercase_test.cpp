// Letter case of the ASCII letters, and nothing else, whatever the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "platform/lettercase.h"
#include "tests/testsupport/testsupport.h"

using Platform::LowerCase;
using Platform::SameText;

TEST(LetterCase, OnlyTheAsciiLettersChangeCase) {
  struct Case {
    std::string text, lower, upper;
  };
  const Case cases[] = {
      {"ABCXYZ abcxyz", "abcxyz abcxyz", "ABCXYZ ABCXYZ"},
      {"@[`{", "@[`{", "@[`{"},  // the neighbours of A, Z, a and z
      {"Map.JPG", "map.jpg", "MAP.JPG"},
      {"\xC4\xE4\xDC", "\xC4\xE4\xDC", "\xC4\xE4\xDC"},  // Windows-1252 letters stay
      {"\xC3\x84Rger", "\xC3\x84rger", "\xC3\x84RGER"},  // so do UTF-8 sequences
      {std::string("A\0b", 3), std::string("a\0b", 3), std::string("A\0B", 3)},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LowerCase(c.text), c.lower) << c.text;
    EXPECT_EQ(Platform::UpperCase(c.text), c.upper) << c.text;
  }
}

TEST(LetterCase, SameTextIgnoresTheCaseOfAsciiLettersOnly) {
  struct Case {
    const char *a, *b;
    bool same;
  };
  const Case cases[] = {
      {"CalLine", "calline", true},
      {"BLOB", "blob", true},
      {"", "", true},
      {"blob", "blobs", false},
      {"@", "`", false},
      {"[", "{", false},
      {"\xC4", "\xE4", false},
      {"\xC3\x84", "\xC3\xA4", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SameText(c.a, c.b), c.same) << c.a << " / " << c.b;
  static_assert(SameText("UTMSouth", "utmsouth") && LowerCase('Q') == 'q');
}

namespace {

// Switches LC_CTYPE to a Latin-1 locale, compiling one into dir when none is
// installed; false when that is not possible here.
bool UseLatin1Locale(const lumivar_test::TempDir& dir) {
  const char* name = "de_DE.ISO-8859-1";
  if (std::setlocale(LC_CTYPE, name)) return true;
  const std::string make = "localedef -i de_DE -f ISO-8859-1 '" + dir.File(name) + "' 2>/dev/null";
  if (std::system(make.c_str()) != 0) return false;
  setenv("LOCPATH", dir.Path().c_str(), 1);
  const bool ok = std::setlocale(LC_CTYPE, name) != nullptr;
  unsetenv("LOCPATH");
  return ok;
}

}  // namespace

TEST(LetterCase, DoesNotFollowTheLocale) {
  // Under a Latin-1 locale the C library lowers 0xC4 to 0xE4; the helpers
  // must not.
  lumivar_test::TempDir dir;
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  if (!UseLatin1Locale(dir)) GTEST_SKIP() << "no Latin-1 locale can be made here";
  EXPECT_EQ(LowerCase("\xC4Z"), "\xC4z");
  EXPECT_FALSE(SameText("\xC4", "\xE4"));
  std::setlocale(LC_CTYPE, saved.c_str());
}
