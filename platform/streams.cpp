#include "platform/streams.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/errors.h"
#include "platform/writefaults_internal.h"

namespace Platform {

int64_t TStream::Size() {
  const int64_t pos = Seek(0, soCurrent);
  const int64_t end = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count)
    RaiseInOutError("read from", "stream", kStreamReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count)
    RaiseInOutError("write to", "stream", kStreamWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  // 0 or less copies the whole source (a negative count sized the buffer
  // from its bit pattern before).
  if (count <= 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(count, 1 << 16)));
  int64_t left = count;
  while (left > 0) {
    const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buf.size()));
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t avail = std::max<int64_t>(0, Size() - FPos);
  const int64_t n = std::clamp<int64_t>(count, 0, avail);
  if (n > 0) std::memcpy(buffer, FData.data() + FPos, static_cast<size_t>(n));
  FPos += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPos + count > Size()) FData.resize(static_cast<size_t>(FPos + count));
  std::memcpy(FData.data() + FPos, buffer, static_cast<size_t>(count));
  FPos += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPos : Size();
  FPos = std::max<int64_t>(0, base + offset);
  return FPos;
}

void TMemoryStream::SetSize(int64_t newSize) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(0, newSize)));
  FPos = std::min(FPos, Size());
}

void TMemoryStream::Clear() {
  FData.clear();
  FPos = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
  f.Flush();
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const int64_t n = source.Size();
  std::vector<uint8_t> data(static_cast<size_t>(n));
  source.ReadBuffer(data.data(), n);
  FData.swap(data);
  FPos = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) const {
  dest.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : FName(fileName) {
  static const char* const kModes[] = {"rb", "r+b", "r+b", "w+b"};
  FFile = std::fopen(fileName.c_str(), kModes[mode]);
  if (FFile == nullptr) RaiseInOutError(mode == fmCreate ? "create" : "open", fileName, errno);
}

TFileStream::~TFileStream() {
  if (FFile != nullptr) std::fclose(FFile);
}

void TFileStream::SwitchTo(int op) {
  if (FLastOp != 0 && FLastOp != op) fseeko(FFile, 0, SEEK_CUR);
  FLastOp = op;
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  SwitchTo(1);
  const size_t n = std::fread(buffer, 1, static_cast<size_t>(count), FFile);
  if (n < static_cast<size_t>(count) && std::ferror(FFile)) RaiseInOutError("read", FName, errno);
  return static_cast<int64_t>(n);
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  SwitchTo(2);
  int fault = 0;
  const int64_t allowed = WriteFaults::Allow(count, fault);
  const size_t n = std::fwrite(buffer, 1, static_cast<size_t>(allowed), FFile);
  if (n < static_cast<size_t>(allowed)) RaiseInOutError("write", FName, errno);
  if (fault != 0) RaiseInOutError("write", FName, fault);
  return static_cast<int64_t>(n);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (!(origin == soCurrent && offset == 0) &&
      fseeko(FFile, static_cast<off_t>(offset), kWhence[origin]) != 0)
    RaiseInOutError("seek in", FName, errno);
  if (!(origin == soCurrent && offset == 0)) FLastOp = 0;
  return static_cast<int64_t>(ftello(FFile));
}

void TFileStream::Flush() {
  if (std::fflush(FFile) != 0) RaiseInOutError("write", FName, errno);
}

void TFileStream::SetSize(int64_t newSize) {
  std::fflush(FFile);
  if (::ftruncate(fileno(FFile), static_cast<off_t>(newSize)) != 0)
    RaiseInOutError("resize", FName, errno);
  if (Position() > newSize) Seek(newSize, soBeginning);
}

}  // namespace Platform
