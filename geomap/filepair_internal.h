// Writing the files of a map (picture and calibration) so that a failure
// leaves what was on disk before.
#pragma once

#include <functional>
#include <string>

namespace ZELK_geomap {

using TFileWriter = std::function<void(const std::string& tempName)>;

// Writes two files that belong together, each through a temporary beside
// it; the temporaries replace their targets, the first first, only once
// both are complete and on the disk, so a failed write changes neither.
// (Only a failure of the second rename itself could leave the first file
// replaced and the second not.)
void WriteFilePair(const std::string& first, const TFileWriter& writeFirst,
                   const std::string& second, const TFileWriter& writeSecond);

}  // namespace ZELK_geomap
