// File-system queries and file-name parts. Both '/' and '\' separate
// directories in names, since stored names may come from either convention.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace Platform {

struct TSearchRec {
  std::string Name;    // file name without directory
  int64_t Size = 0;    // bytes
  TDateTime Time = 0;  // last modification, local time
};

bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& dirName);
// Finds one existing regular file; false when there is none.
bool FindFile(const std::string& fileName, TSearchRec& rec);
bool RenameFile(const std::string& oldName, const std::string& newName);
bool DeleteFile(const std::string& fileName);
bool CreateDir(const std::string& dirName);

// "dir/sub/" of "dir/sub/name.ext" (with the trailing separator), "" without one.
std::string ExtractFilePath(const std::string& fileName);
// "dir/sub" (no trailing separator).
std::string ExtractFileDir(const std::string& fileName);
// "name.ext".
std::string ExtractFileName(const std::string& fileName);
// ".ext", "" when the name has no extension.
std::string ExtractFileExt(const std::string& fileName);
// Replaces (or appends) the extension; ext includes its dot.
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);
std::string IncludeTrailingPathDelimiter(const std::string& dir);
bool IsPathDelimiter(char c);

}  // namespace Platform
