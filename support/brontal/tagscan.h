// Line output to streams and the element scanner of the system's small
// XML dialect, over text files and streams.
#pragma once

#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/streams.h"
#include "platform/textfile.h"

namespace Zelk_tagscan {

// Appends the bytes of text and a CR LF line break at the stream's position
// (the line end the system's text files use). Text passes unchanged: callers
// convert to the file's code page first.
void WriteLnStream(Platform::TStream& Stream, std::string_view Text);

// Element scanner. Reads on from the current position to the next element
// whose name is one of TagNames[0..Last] and returns its index; returns Last
// at the end of the input (hence a sentinel name such as "invalidtag" in the
// last entry).
//   - Names compare without regard to ASCII letter case.
//   - A start tag <name ...> or <name .../> matches the entry "name"; an end
//     tag </name> matches the entry "/name".
//   - Attributes receives the start tag's text after the name (without a
//     closing "/"); Content the text up to the matching end tag, which is
//     consumed with it (nested elements of the same name are counted).
//     Content is empty for "<name/>", for end tags, and for elements whose
//     end tag is itself in the list: the caller then reads their inner
//     elements one by one (containers such as "gmlandmarks").
//   - Elements with other names, end tags not in the list, comments,
//     <?...?> and <!...> are passed over; elements nested in them are found.
//   - Double quotes inside a tag enclose text in which ">" does not end it.
//   - An unterminated tag, comment or element (no end tag up to the end of
//     the input) reads as the end of the input.
// The input is left right after the returned element (and after the end
// of its line when only blanks follow on it), so readers can alternate
// ReadLn or ReadLineFromStream with the scanner.
int32_t ReadNextTagInTextFile(Platform::TTextFile& F, std::span<const std::string_view> TagNames,
                              int32_t Last, std::string& Attributes, std::string& Content);
int32_t ReadNextTagInStream(Platform::TStream& Stream, std::span<const std::string_view> TagNames,
                            int32_t Last, std::string& Attributes, std::string& Content);

// Convenience forms for any list of strings (std::string, const char*, ...).
template <typename List>
int32_t ReadNextTagInTextFile(Platform::TTextFile& F, const List& TagNames, int32_t Last,
                              std::string& Attributes, std::string& Content) {
  const std::vector<std::string_view> names(std::begin(TagNames), std::end(TagNames));
  return ReadNextTagInTextFile(F, std::span<const std::string_view>(names), Last, Attributes,
                               Content);
}
template <typename List>
int32_t ReadNextTagInStream(Platform::TStream& Stream, const List& TagNames, int32_t Last,
                            std::string& Attributes, std::string& Content) {
  const std::vector<std::string_view> names(std::begin(TagNames), std::end(TagNames));
  return ReadNextTagInStream(Stream, std::span<const std::string_view>(names), Last, Attributes,
                             Content);
}

// 1-based position of Text in List[0..Last] (exact comparison, letter case
// counts); 0 when it is not there.
template <typename List>
int32_t StringIx(std::string_view Text, const List& List_, int32_t Last) {
  int32_t i = 0;
  for (const auto& entry : List_) {
    if (i > Last) break;
    if (std::string_view(entry) == Text) return i + 1;
    ++i;
  }
  return 0;
}

}  // namespace Zelk_tagscan
