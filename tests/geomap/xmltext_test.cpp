// Attribute texts of the XML dialect: escaping, decoding, section
// identifiers and the attribute scanner's runs.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "geomap/caltext.h"

using namespace ZELK_geomap;

TEST(EscapeXMLText, SpecialAndControlCharactersBecomeReferences) {
  const struct {
    std::string In, Out;
  } cases[] = {
      {"plain text, blanks and 'apostrophes'", "plain text, blanks and 'apostrophes'"},
      {"a \"b\" <c> & d", "a &quot;b&quot; &lt;c&gt; &amp; d"},
      {"&amp;", "&amp;amp;"},
      {"line\r\nbreak\ttab", "line&#13;&#10;break&#9;tab"},
      {std::string("nul\0", 4), "nul&#0;"},
      {"caf\xE9 \x80", "caf\xE9 \x80"},              // 8-bit characters pass
      {"  both ends ", "&#32;&#32;both ends&#32;"},  // readers trim these
      {" ", "&#32;"},
      {"vienna.jpg caption=", "vienna.jpg caption&#61;"},  // no attribute name before a quote
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeXMLText(c.In), c.Out);
    EXPECT_EQ(UnescapeXMLText(EscapeXMLText(c.In)), c.In);
  }
}

TEST(UnescapeXMLText, DecodesEntitiesAndLeavesEverythingElseAsItStands) {
  const struct {
    std::string In, Out;
  } cases[] = {
      {"&lt;&gt;&amp;&quot;&apos;", "<>&\"'"},
      {"R&D & more", "R&D & more"},                    // bare ampersands of older files
      {"&amp", "&amp"},                                // no semicolon
      {"&nbsp; &AMP;", "&nbsp; &AMP;"},                // unknown and upper-case names
      {"&#65;&#x42;&#X43;", "ABC"},                    // numeric references
      {"&#233;&#x20AC;", "\xE9\x80"},                  // into the file code page
      {"&#x4E2D;", "?"},                               // not in the code page
      {"&#xD800; &#x110000;", "&#xD800; &#x110000;"},  // no character
      {"&#0;.", std::string("\0.", 2)},                // as the writer refers to it
      {"&#12345678; &#x; &#1a;", "&#12345678; &#x; &#1a;"},
      {"&&amp;;", "&&;"},
      {"&", "&"},
  };
  for (const auto& c : cases) EXPECT_EQ(UnescapeXMLText(c.In), c.Out) << c.In;
}

TEST(SectionIdentifier, QuotedTextAfterTheFirstIdDecodedTrimmedAndLowerCase) {
  const struct {
    std::string Line, Id;
  } cases[] = {
      {"<gmlandmarks sig=\"Korvane\" id=\"North\">", "north"},
      {"<lmsymbols id=\" Roads \" vers=\"1.0\">", "roads"},
      {"<lmsymbols id =\"x\">", ""},  // no "id=" as such
      {"<lmsymbols ID=\"A&amp;B &#x4F;\">", "a&b o"},
      {"<lmsymbols userid=\"x\" id=\"y\">", "x"},  // the first "id=", whatever precedes it
      {"<gmlandmarks korvane>", ""},
      {"<gmlandmarks id=\"open", "open"},
      {"<gmlandmarks id=none>", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SectionIdentifier(c.Line), c.Id) << c.Line;
}

namespace {

// The attribute scanner one character at a time, as its contract states
// it; the library walks whole runs and must agree in every case.
int32_t ReferenceNextAttribute(const std::string& text, int32_t& pos, std::string& name,
                               std::string& value) {
  enum { kName, kValue, kQuoted, kPlain } state = kName;
  name.clear();
  value.clear();
  if (pos < 1 || pos > int32_t(text.size())) return 4;
  int32_t result = 0;
  for (bool done = false; !done && pos <= int32_t(text.size()); ++pos) {
    const char c = text[size_t(pos) - 1];
    if (state == kName) {
      if (c == '"')
        result = 1, done = true;
      else if (c == '=')
        state = kValue;
      else
        name += c;
    } else if (state == kValue) {
      if (c == '"')
        state = kQuoted;
      else if (c == '=')
        result = 2, done = true;
      else if (c != ' ')
        value += c, state = kPlain;
    } else if (state == kQuoted) {
      if (c == '"')
        done = true;
      else
        value += c;
    } else {
      if (c == ' ' || c == '"')
        done = true;
      else if (c == '=')
        result = 3, done = true;
      else
        value += c;
    }
  }
  name = TrimBlanks(name);
  return result;
}

// Calls check with every text of up to seven characters over the alphabet.
template <typename Check>
void ForEveryShortText(const std::string& alphabet, Check check) {
  for (size_t length = 0; length <= 7; ++length) {
    std::string text(length, ' ');
    size_t combinations = 1;
    for (size_t i = 0; i < length; ++i) combinations *= alphabet.size();
    for (size_t n = 0; n < combinations; ++n) {
      for (size_t i = 0, k = n; i < length; ++i, k /= alphabet.size())
        text[i] = alphabet[k % alphabet.size()];
      check(text);
      if (::testing::Test::HasFatalFailure()) return;  // the first difference is enough
    }
  }
}

}  // namespace

TEST(NextAttribute, AgreesWithTheCharacterByCharacterMachineOnEveryShortText) {
  // Over the characters that matter.
  ForEveryShortText("a =\"", [](const std::string& text) {
    int32_t pos = 1, refPos = 1;
    for (int step = 0; step < 8; ++step) {
      std::string name, value, refName, refValue;
      const int32_t result = NextAttribute(text, pos, name, value);
      const int32_t expected = ReferenceNextAttribute(text, refPos, refName, refValue);
      ASSERT_EQ(result, expected) << "[" << text << "] step " << step;
      ASSERT_EQ(pos, refPos) << "[" << text << "] step " << step;
      ASSERT_EQ(name, refName) << "[" << text << "] step " << step;
      ASSERT_EQ(value, refValue) << "[" << text << "] step " << step;
      if (result != 0) break;
    }
  });
}

TEST(AttributeValues, GivesWhatAttributeValueGivesForEachName) {
  constexpr std::array<std::string_view, 4> names = {"lat", "long", "id", "missing"};
  for (const std::string text :
       {" lat=\"48.5\" LONG=16 id=\"a b\" lat=\"1\"", " long=\"1\" id==2 lat=\"3\"", "", " id"}) {
    std::array<std::string, 4> values;
    AttributeValues(text, names, values);
    for (size_t i = 0; i < names.size(); ++i)
      EXPECT_EQ(values[i], AttributeValue(text, std::string(names[i]))) << text << " " << names[i];
  }
}

TEST(AttributeValues, AgreesWithAttributeValueOnEveryShortText) {
  // Over the characters that matter.
  constexpr std::array<std::string_view, 3> names = {"a", "aa", "b"};
  ForEveryShortText("aA =\"b", [&](const std::string& text) {
    std::array<std::string, 3> values;
    AttributeValues(text, names, values);
    for (size_t i = 0; i < names.size(); ++i)
      ASSERT_EQ(values[i], AttributeValue(text, std::string(names[i])))
          << "[" << text << "] " << names[i];
  });
}
