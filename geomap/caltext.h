// Text routines of the map control's small XML dialect (calibration,
// landmark and symbol files) and the tag table their readers share.
//
// Positions are 1-based character positions, as in the stored formats.
// Texts are 8-bit: each char is one character of the file's code page.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/streams.h"
#include "platform/types.h"

namespace ZELK_geomap {

// The elements the three readers look for, in the scanner's order. The
// last entry is the sentinel the element scanner returns at the end.
constexpr int32_t kNumXMLTags = 16;
extern const std::array<std::string, kNumXMLTags> XMLTagNames;

// Indices into XMLTagNames.
enum TXMLTagIndex : int32_t {
  xtGeoMap = 0,
  xtGeoMapEnd = 1,
  xtCalLine = 2,
  xtCorners = 3,
  xtResolution = 4,
  xtLandmarks = 5,
  xtLandmarksEnd = 6,
  xtLandmark = 7,
  xtCalQuads = 8,
  xtSymbols = 9,
  xtSymbolsEnd = 10,
  xtSymbol = 11,
  xtUTMZone = 12,
  xtUTMSouth = 13,
  xtEllipsoid = 14,
  xtInvalid = 15
};

// The tag table for the element scanner's span form, built once.
extern const std::array<std::string_view, kNumXMLTags> XMLTagViews;

// Attribute text for a value between double quotes: "&", the double quote,
// "<" and ">" become the entities &amp; &quot; &lt; &gt;, and control
// characters (below 32) numeric references, so that a value can neither end
// its attribute nor break its line; so do "=" (readers find an attribute by
// its name and "=\"", which a value must not end in) and blanks at either
// end, which readers trim. Text without them comes back unchanged.
// 8-bit text in, 8-bit text out.
std::string EscapeXMLText(std::string_view Text);

// The reverse: decodes &amp; &quot; &lt; &gt; &apos; and numeric references
// (&#233; &#xE9;); a character that the file code page cannot hold becomes
// "?". An "&" that starts none of these stays as it is, so files written
// before escaping read as they always did.
std::string UnescapeXMLText(std::string_view Text);

// Lower case of 8-bit text in the file code page (Windows-1252): ASCII and
// its Latin letters, so identifiers compare as the readers see them.
std::string LowerCase1252(std::string Text);

// Identifier of a section's start line (landmark and symbol sections): the
// text between the pair of double quotes that follows the first "id=",
// decoded, without blanks at either end and in lower case; "" without one.
std::string SectionIdentifier(const std::string& Line);

// Decimals >= 0: fixed-point text with that many digits after a ".",
// right-aligned with blanks to at least abs(Width) characters.
// Decimals = -2: scientific text "d.ddddddddddddddE+dd" (exponent with sign
// and two digits), all "*" when the exponent needs three digits.
// A negative Width pads with "0" instead, the "-" sign going first.
// Any other Decimals (below -2, -1, above 340) raises EZELKError.
std::string FormatFixed(double Value, int32_t Width, int32_t Decimals);

// Style 0 "TRUE"/"FALSE", 1 "T"/"F", 2 ".T."/".F.", 3 "1"/"0", 4 "-1"/"0",
// 5 "FF"/"00", 6 "YES"/"NO", 7 "GOOD"/"BAD"; other styles as 0.
std::string BoolToText(bool Value, int32_t Style);

// Position of the N-th non-overlapping occurrence of Sub in S, counting
// from Start (below 1 counts as 1); 0 when N < 1, Sub is empty or there are
// fewer occurrences.
int32_t PosOfNth(const std::string& Sub, const std::string& S, int32_t Start, int32_t N,
                 bool IgnoreCase);

// S without leading and trailing blanks (character 32 only).
std::string TrimBlanks(const std::string& S);

// Reads one line, byte by byte, up to the line end of Mode (0 LF, 1 CR,
// 2 CR or LF, 3 CR right after LF, 4 LF right after CR) or the end of the
// stream, which sets Eof. After a line end, up to two trailing CR or LF
// characters are removed.
std::string ReadLineFromStream(Platform::TStream& Stream, bool& Eof, int32_t Mode);

// Scans one name="value" attribute of a start tag from Pos. 0 when one was
// found; 1 a quote in the name, 2 "=" where the value should start, 3 "="
// inside an unquoted value, 4 nothing left. Pos ends after the last
// character examined.
int32_t NextAttribute(const std::string& Text, int32_t& Pos, std::string& Name, std::string& Value);

// Value of the first attribute called Name (letter case ignored); "" when absent.
std::string AttributeValue(const std::string& Text, const std::string& Name);

// The values of several attributes of a start-tag text in one pass:
// Values[i] becomes what AttributeValue(Text, Names[i]) gives. Names are
// lower case; the two spans have the same length.
void AttributeValues(const std::string& Text, std::span<const std::string_view> Names,
                     std::span<std::string> Values);

// Decimal integer from Pos after blanks and an optional sign; Pos ends on
// the first character that is not a digit. 0 without digits. Values beyond
// the 32-bit range saturate.
int32_t ScanInteger(const std::string& S, int32_t& Pos);

// Decimal number from Pos. DecMode 1 accepts "." as decimal point, 2 ",",
// 3 either; AllowExp accepts an exponent after "E". Pos ends on the
// character that stopped the scan. Malformed numbers give 0; the result is
// limited to the finite range of double.
double ScanFloat(const std::string& S, bool AllowExp, int32_t DecMode, int32_t& Pos);

// Attribute values as the readers take them, each scanned from the start:
// an integer, a hexadecimal colour $00BBGGRR.
int32_t IntegerValue(const std::string& Text);
Platform::TColor ColorValue(const std::string& Text);

}  // namespace ZELK_geomap
