#include "platform/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/writefaults_internal.h"

namespace Platform {

namespace {
constexpr int kReadBeyondEnd = 100;  // the classic run-time error number of a short read
}

TRecordFile::~TRecordFile() {
  if (FFd >= 0) ::close(FFd);
}

bool TRecordFile::TryReset(const std::string& fileName, int32_t recordSize, TFileAccess access) {
  Close();
  FName = fileName;
  FRecSize = recordSize > 0 ? recordSize : 1;
  FPos = 0;
  FFd = ::open(fileName.c_str(), (access == faReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
  FLastError = FFd < 0 ? errno : 0;
  if (FFd >= 0) {
    struct stat st {};
    if (::fstat(FFd, &st) == 0 && !S_ISREG(st.st_mode)) {
      ::close(FFd);
      FFd = -1;
      FLastError = EISDIR;
    }
  }
  return FFd >= 0;
}

void TRecordFile::Reset(const std::string& fileName, int32_t recordSize, TFileAccess access) {
  if (!TryReset(fileName, recordSize, access)) RaiseInOutError("open", fileName, FLastError);
}

void TRecordFile::Rewrite(const std::string& fileName, int32_t recordSize) {
  Close();
  FName = fileName;
  FRecSize = recordSize > 0 ? recordSize : 1;
  FPos = 0;
  FFd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (FFd < 0) RaiseInOutError("create", fileName, errno);
}

void TRecordFile::Close() {
  if (FFd >= 0) ::close(FFd);
  FFd = -1;
}

void TRecordFile::Require(const char* operation) const {
  if (FFd < 0) RaiseInOutError(operation, FName, EBADF);
}

void TRecordFile::Seek(int64_t record) {
  Require("seek in");
  if (record < 0) RaiseInOutError("seek in", FName, EINVAL);
  FPos = record;
}

int64_t TRecordFile::SizeInBytes() const {
  Require("read the size of");
  struct stat st {};
  if (::fstat(FFd, &st) != 0) RaiseInOutError("read the size of", FName, errno);
  return static_cast<int64_t>(st.st_size);
}

int64_t TRecordFile::FileSize() const {
  return SizeInBytes() / FRecSize;
}

int64_t TRecordFile::BlockRead(void* buffer, int64_t count) {
  Require("read");
  if (count <= 0) return 0;
  const int64_t want = count * FRecSize;
  int64_t done = 0;
  auto* p = static_cast<char*>(buffer);
  while (done < want) {
    const ssize_t n = ::pread(FFd, p + done, static_cast<size_t>(want - done),
                              static_cast<off_t>(FPos * FRecSize + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseInOutError("read", FName, errno);
    }
    if (n == 0) break;
    done += n;
  }
  const int64_t records = done / FRecSize;
  FPos += records;
  return records;
}

void TRecordFile::BlockReadExact(void* buffer, int64_t count) {
  if (BlockRead(buffer, count) != count)
    RaiseInOutError("read beyond the end of", FName, kReadBeyondEnd);
}

void TRecordFile::BlockWrite(const void* buffer, int64_t count) {
  Require("write");
  if (count <= 0) return;
  int fault = 0;
  const int64_t want = WriteFaults::Allow(count * FRecSize, fault);
  int64_t done = 0;
  const auto* p = static_cast<const char*>(buffer);
  while (done < want) {
    const ssize_t n = ::pwrite(FFd, p + done, static_cast<size_t>(want - done),
                               static_cast<off_t>(FPos * FRecSize + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseInOutError("write", FName, errno);
    }
    done += n;
  }
  if (fault != 0) RaiseInOutError("write", FName, fault);
  FPos += count;
}

void TRecordFile::Truncate() {
  Require("truncate");
  int fault = 0;
  WriteFaults::Allow(0, fault);
  if (fault != 0) RaiseInOutError("truncate", FName, fault);
  if (::ftruncate(FFd, static_cast<off_t>(FPos * FRecSize)) != 0)
    RaiseInOutError("truncate", FName, errno);
}

}  // namespace Platform
