// Untyped files of fixed-size records, addressed by record number.
#pragma once

#include <cstdint>
#include <string>

namespace Platform {

enum TFileAccess : uint8_t { faReadOnly, faReadWrite };

class TRecordFile {
 public:
  TRecordFile() = default;
  ~TRecordFile();
  TRecordFile(const TRecordFile&) = delete;
  TRecordFile& operator=(const TRecordFile&) = delete;

  // Opens an existing file; raises EInOutError when it cannot.
  void Reset(const std::string& fileName, int32_t recordSize, TFileAccess access = faReadWrite);
  // As Reset, but returns false (errno in LastError()) instead of raising.
  bool TryReset(const std::string& fileName, int32_t recordSize, TFileAccess access = faReadWrite);
  // Creates the file or empties an existing one, for reading and writing.
  void Rewrite(const std::string& fileName, int32_t recordSize);
  void Close();
  bool IsOpen() const { return FFd >= 0; }

  void Seek(int64_t record);
  int64_t FilePos() const { return FPos; }
  // Whole records in the file; a partial record at the end is not counted.
  int64_t FileSize() const;
  int64_t SizeInBytes() const;
  // Reads up to count records at the current position; returns how many whole
  // records were read. Raises EInOutError on a read failure.
  int64_t BlockRead(void* buffer, int64_t count);
  // Reads exactly count records or raises EInOutError ("read beyond end").
  void BlockReadExact(void* buffer, int64_t count);
  void BlockWrite(const void* buffer, int64_t count);
  // Cuts the file at the current position.
  void Truncate();
  int32_t RecordSize() const { return FRecSize; }
  const std::string& FileName() const { return FName; }
  int LastError() const { return FLastError; }

 private:
  void Require(const char* operation) const;
  int FFd = -1;
  int32_t FRecSize = 1;
  int64_t FPos = 0;
  std::string FName;
  int FLastError = 0;
};

}  // namespace Platform
