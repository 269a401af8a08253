#include "platform/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/writefaults_internal.h"

namespace Platform {

namespace {

// The file a name stands for: a symbolic link is replaced by what it points to.
std::string ResolveTarget(const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(fileName, ec)) return fileName;
  const auto target = std::filesystem::weakly_canonical(fileName, ec);
  return ec ? fileName : target.string();
}

// A name beside the target that no other writer in this or another process picks.
std::string TemporaryName(const std::string& target) {
  static std::atomic<uint64_t> counter{0};
  return ExtractFilePath(target) + "." + ExtractFileName(target) + "." +
         std::to_string(::getpid()) + "." + std::to_string(++counter) + ".tmp";
}

void SyncFile(const std::string& name) {
  int fault = 0;
  WriteFaults::Allow(0, fault);
  if (fault != 0) RaiseInOutError("write", name, fault);
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) RaiseInOutError("open", name, errno);
  const bool ok = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!ok) RaiseInOutError("write", name, error);
}

// The rename itself reaches the disk only with its directory; a failure here
// no longer endangers the content, so it is not reported.
void SyncDirectoryOf(const std::string& name) {
  std::string dir = ExtractFileDir(name);
  if (dir.empty()) dir = ".";
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void ReplaceTarget(const std::string& temp, const std::string& target) {
  int fault = 0;
  WriteFaults::Allow(0, fault);
  if (fault != 0) RaiseInOutError("replace", target, fault);
  if (std::rename(temp.c_str(), target.c_str()) != 0) RaiseInOutError("replace", target, errno);
}

// A file written and flushed under its temporary name, not yet in place.
struct TPreparedFile {
  std::string target, temp;
};

TPreparedFile Prepare(const TFileToWrite& file) {
  const std::string target = ResolveTarget(file.fileName);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && ::access(target.c_str(), W_OK) != 0) RaiseInOutError("create", target, errno);
  if (existed && S_ISDIR(old.st_mode)) RaiseInOutError("create", target, EISDIR);
  const std::string temp = TemporaryName(target);
  try {
    file.write(temp);
    SyncFile(temp);
    if (existed && ::chmod(temp.c_str(), old.st_mode & 07777) != 0)
      RaiseInOutError("create", temp, errno);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  return TPreparedFile{target, temp};
}

}  // namespace

void WriteFilesAtomically(const std::vector<TFileToWrite>& files) {
  std::vector<TPreparedFile> ready;
  ready.reserve(files.size());
  try {
    for (const TFileToWrite& file : files) ready.push_back(Prepare(file));
    for (TPreparedFile& file : ready) {
      ReplaceTarget(file.temp, file.target);
      file.temp.clear();
    }
  } catch (...) {
    for (const TPreparedFile& file : ready)
      if (!file.temp.empty()) ::unlink(file.temp.c_str());
    throw;
  }
  for (const TPreparedFile& file : ready) SyncDirectoryOf(file.target);
}

void WriteFileAtomically(const std::string& fileName,
                         const std::function<void(const std::string& tempName)>& write) {
  WriteFilesAtomically({TFileToWrite{fileName, write}});
}

}  // namespace Platform
