#include "platform/filesystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/datetime.h"

namespace Platform {

bool IsPathDelimiter(char c) {
  return c == '/' || c == '\\';
}

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& dirName) {
  struct stat st {};
  return !dirName.empty() && ::stat(dirName.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FindFile(const std::string& fileName, TSearchRec& rec) {
  struct stat st {};
  if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  rec.Name = ExtractFileName(fileName);
  rec.Size = static_cast<int64_t>(st.st_size);
  std::tm local{};
  const std::time_t t = st.st_mtime;
  localtime_r(&t, &local);
  TDateTime d = 0, tm = 0;
  TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, d);
  TryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, 0, tm);
  rec.Time = d + tm;
  return true;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
  // Never replace an existing file silently.
  if (oldName.empty() || newName.empty() || FileExists(newName)) return false;
  return std::rename(oldName.c_str(), newName.c_str()) == 0;
}

bool DeleteFile(const std::string& fileName) {
  return ::unlink(fileName.c_str()) == 0;
}

bool CreateDir(const std::string& dirName) {
  return ::mkdir(dirName.c_str(), 0777) == 0;
}

namespace {

size_t LastDelimiter(const std::string& s) {
  for (size_t i = s.size(); i > 0; --i)
    if (IsPathDelimiter(s[i - 1])) return i - 1;
  return std::string::npos;
}

}  // namespace

std::string ExtractFilePath(const std::string& fileName) {
  const size_t p = LastDelimiter(fileName);
  return p == std::string::npos ? std::string() : fileName.substr(0, p + 1);
}

std::string ExtractFileDir(const std::string& fileName) {
  const size_t p = LastDelimiter(fileName);
  if (p == std::string::npos) return std::string();
  return p == 0 ? fileName.substr(0, 1) : fileName.substr(0, p);
}

std::string ExtractFileName(const std::string& fileName) {
  const size_t p = LastDelimiter(fileName);
  return p == std::string::npos ? fileName : fileName.substr(p + 1);
}

std::string ExtractFileExt(const std::string& fileName) {
  const std::string name = ExtractFileName(fileName);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& ext) {
  const std::string ext0 = ExtractFileExt(fileName);
  return fileName.substr(0, fileName.size() - ext0.size()) + ext;
}

std::string IncludeTrailingPathDelimiter(const std::string& dir) {
  if (!dir.empty() && IsPathDelimiter(dir.back())) return dir;
  return dir + "/";
}

}  // namespace Platform
