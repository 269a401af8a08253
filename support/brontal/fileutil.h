// File-name helpers.
#pragma once

#include <string>

namespace Zelk_fileutil {

// The name without its last extension and that dot; the directory stays
// ("maps/alps.jpg" -> "maps/alps", "a.b/c" -> "a.b/c").
std::string StripExtension(const std::string& fileName);
// The name without its directory ("maps/alps.jpg" -> "alps.jpg").
std::string StripPath(const std::string& fileName);
// A copy that keeps only characters allowed in a short file name: ASCII
// letters, digits and _-!#$%&'()@^{}~, plus the last dot. The result never
// holds a path separator and is never "." or ".." (those give "").
std::string ReduceStringToFN83CompliantChars(const std::string& text);

}  // namespace Zelk_fileutil
