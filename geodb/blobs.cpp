// BLOBs: meta information block plus content, added from files, memory and
// streams and retrieved to the same.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "geodb/geodb.h"
#include "geodb/records.h"
#include "platform/atomicfile.h"
#include "platform/filesystem.h"
#include "support/brontal/fileutil.h"

namespace ZELK_GeoDB {

using Platform::TRecordFile;

namespace {

constexpr int32_t kBufferSize = 16384;

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec) &&
         !ec;
}

int32_t Percent(int64_t done, int64_t total) {
  if (total <= 0) return 0;
  const int32_t p =
      Platform::RoundHalfEven(static_cast<double>(done) / static_cast<double>(total) * 100.0);
  return std::max(p, 0);
}

TMetaInfo WithFilePath(const TMetaInfo& MInfo, const std::string& path) {
  TMetaInfo m = MInfo;
  m.FilePath = path;
  return m;
}

}  // namespace

void TGeoDB::WriteBlobFromFile(const char* operation, TgdbData& data, const TMetaInfo& MInfo,
                               const std::string& SourceFile) {
  const std::string source = SourceFile.empty() ? MInfo.FilePath.ToString() : SourceFile;
  Platform::TSearchRec rec;
  int64_t size = 0;
  if (Platform::FindFile(source, rec)) {
    data.Date = rec.Time;
    size = rec.Size;
  }
  // The source is opened before anything is appended, so a missing file
  // leaves no orphan block behind.
  TRecordFile in;
  in.Reset(source, 1, Platform::faReadOnly);
  data.BlobOffset = OpenForAppend(operation, Records::kMetaInfoSize + size);
  TRecordFile& out = DataFile(true);
  uint8_t meta[Records::kMetaInfoSize] = {};
  Records::PutMetaInfo(meta, MInfo);
  out.BlockWrite(meta, Records::kMetaInfoSize);
  std::vector<uint8_t> buffer(kBufferSize);
  int64_t copied = 0;
  // Copies what the file holds now, at most the size the block was planned for.
  while (copied < size) {
    const int64_t n = in.BlockRead(buffer.data(), std::min<int64_t>(kBufferSize, size - copied));
    if (n == 0) break;
    out.BlockWrite(buffer.data(), n);
    copied += n;
    Report(Percent(copied, size));
  }
  data.SetSize(static_cast<int32_t>(copied));
  in.Close();
}

void TGeoDB::WriteBlobFromMemory(const char* operation, TgdbData& data, const TMetaInfo& MInfo,
                                 const void* PBLOBData, int32_t SizeOfBLOBData) {
  data.BlobOffset = OpenForAppend(operation, int64_t{Records::kMetaInfoSize} + SizeOfBLOBData);
  TRecordFile& out = DataFile(true);
  data.SetSize(SizeOfBLOBData);
  uint8_t meta[Records::kMetaInfoSize] = {};
  Records::PutMetaInfo(meta, MInfo);
  out.BlockWrite(meta, Records::kMetaInfoSize);
  const auto* src = static_cast<const uint8_t*>(PBLOBData);
  int64_t written = 0;
  while (written < SizeOfBLOBData) {
    const int64_t n = std::min<int64_t>(kBufferSize, SizeOfBLOBData - written);
    out.BlockWrite(src + written, n);
    written += n;
    if (n == kBufferSize) Report(Percent(written, SizeOfBLOBData));  // full buffers only
  }
}

// --- adding and replacing

int32_t TGeoDB::AddBLOB(const std::string& FileName, TDateTime Date, int32_t StateFlag,
                        float LatLow, float LatHigh, float LongLow, float LongHigh, float Altitude,
                        uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo) {
  return AddBLOB(FileName, FileName, FileName, Date, StateFlag, LatLow, LatHigh, LongLow, LongHigh,
                 Altitude, ClassNumber, UserTag, MInfo);
}

int32_t TGeoDB::AddBLOB(const std::string& FileName, const std::string& FNameInDB, TDateTime Date,
                        int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                        float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag,
                        const TMetaInfo& MInfo) {
  return AddBLOB(FileName, FNameInDB, FileName, Date, StateFlag, LatLow, LatHigh, LongLow, LongHigh,
                 Altitude, ClassNumber, UserTag, MInfo);
}

int32_t TGeoDB::AddBLOB(const std::string& FileName, const std::string& FNameInDB,
                        const std::string& OrgFilePath, TDateTime Date, int32_t StateFlag,
                        float LatLow, float LatHigh, float LongLow, float LongHigh, float Altitude,
                        uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo) {
  // The stored FilePath records where the file came from; the content is
  // read from FileName itself (also when its name does not fit 127 characters).
  return AddData(Platform::ExtractFileName(FNameInDB), {}, false, gitBLOB, ClassNumber, Date,
                 StateFlag, LatLow, LatHigh, LongLow, LongHigh, Altitude, UserTag,
                 WithFilePath(MInfo, OrgFilePath), nullptr, 0, true, FileName);
}

int32_t TGeoDB::AddBLOB(const std::string& Name, TDateTime Date, int32_t StateFlag, float LatLow,
                        float LatHigh, float LongLow, float LongHigh, float Altitude,
                        uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo,
                        const void* PBLOBData, int32_t SizeOfBLOBData) {
  return AddData(Name, {}, false, gitBLOB, ClassNumber, Date, StateFlag, LatLow, LatHigh, LongLow,
                 LongHigh, Altitude, UserTag, MInfo, PBLOBData, SizeOfBLOBData, false);
}

int32_t TGeoDB::AddBLOB(const std::string& Name, TDateTime Date, int32_t StateFlag, float LatLow,
                        float LatHigh, float LongLow, float LongHigh, float Altitude,
                        uint8_t ClassNumber, int32_t UserTag, const TMetaInfo& MInfo,
                        Platform::TMemoryStream& Data) {
  if (Data.Size() > INT32_MAX) Fail("AddBLOB", "BLOB larger than 2 GiB.");
  return AddBLOB(Name, Date, StateFlag, LatLow, LatHigh, LongLow, LongHigh, Altitude, ClassNumber,
                 UserTag, MInfo, Data.Memory(), static_cast<int32_t>(Data.Size()));
}

void TGeoDB::ReplaceBLOB(int32_t DBEntry, const std::string& FileName, TDateTime Date,
                         int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                         float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag,
                         const TMetaInfo& MInfo) {
  ReplaceData(DBEntry, Platform::ExtractFileName(FileName), {}, false, gitBLOB, ClassNumber, Date,
              StateFlag, LatLow, LatHigh, LongLow, LongHigh, Altitude, UserTag,
              WithFilePath(MInfo, FileName), nullptr, 0, true, FileName);
}

void TGeoDB::ReplaceBLOB(int32_t DBEntry, const std::string& Name, TDateTime Date,
                         int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                         float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag,
                         const TMetaInfo& MInfo, const void* PBLOBData, int32_t SizeOfBLOBData) {
  ReplaceData(DBEntry, Name, {}, false, gitBLOB, ClassNumber, Date, StateFlag, LatLow, LatHigh,
              LongLow, LongHigh, Altitude, UserTag, MInfo, PBLOBData, SizeOfBLOBData, false);
}

void TGeoDB::ReplaceBLOB(int32_t DBEntry, const std::string& Name, TDateTime Date,
                         int32_t StateFlag, float LatLow, float LatHigh, float LongLow,
                         float LongHigh, float Altitude, uint8_t ClassNumber, int32_t UserTag,
                         const TMetaInfo& MInfo, Platform::TMemoryStream& Data) {
  if (Data.Size() > INT32_MAX) Fail("ReplaceBLOB", "BLOB larger than 2 GiB.");
  ReplaceBLOB(DBEntry, Name, Date, StateFlag, LatLow, LatHigh, LongLow, LongHigh, Altitude,
              ClassNumber, UserTag, MInfo, Data.Memory(), static_cast<int32_t>(Data.Size()));
}

// --- retrieving

// Writing a BLOB over one of the database's own files would destroy it.
bool TGeoDB::IsFileOfTheSet(const std::string& fileName) const {
  if (SameFile(fileName, FNameGDS) || SameFile(fileName, FNameGDD)) return true;
  for (const auto& ix : FNameIX)
    if (SameFile(fileName, ix)) return true;
  return false;
}

int32_t TGeoDB::OpenBlob(int32_t DBEntry, const char* operation) {
  TRecordFile& file = DataFile(false);
  const int32_t pos = std::max(DBEntry - 1, 0);
  if (pos >= FNumSumItems || FSumData[static_cast<size_t>(pos)].ItemKind != gitBLOB) return -1;
  const TgdbData& d = FSumData[static_cast<size_t>(pos)];
  if (d.BlobOffset < 0 || d.Size() < 0 ||
      int64_t{d.BlobOffset} + Records::kMetaInfoSize + d.Size() > file.SizeInBytes())
    Fail(operation,
         "the BLOB of entry " + std::to_string(pos + 1) + " lies outside the data file.");
  return pos;
}

void TGeoDB::CopyBlobContent(TRecordFile& file, int32_t size,
                             const std::function<void(const uint8_t*, int32_t)>& sink) {
  std::vector<uint8_t> buffer(kBufferSize);
  int32_t remaining = size;
  while (remaining > 0) {
    const int32_t n =
        static_cast<int32_t>(file.BlockRead(buffer.data(), std::min(remaining, kBufferSize)));
    if (n == 0) break;  // the file shrank under us; the check before covered its old length
    sink(buffer.data(), n);
    remaining -= n;
    Report(Percent(size - remaining, size));
  }
}

namespace {
TMetaInfo ReadMetaInfo(TRecordFile& file, int32_t offset) {
  uint8_t meta[Records::kMetaInfoSize];
  file.Seek(offset);
  file.BlockReadExact(meta, Records::kMetaInfoSize);
  return Records::GetMetaInfo(meta);
}
}  // namespace

bool TGeoDB::RetrieveBLOB(int32_t DBEntry, const std::string& Filepath, TMetaInfo& MetaInfo) {
  if (!IsOpen()) return false;
  const int32_t pos = OpenBlob(DBEntry, "RetrieveBLOB");
  TRecordFile& f = DataFile(false);
  if (pos < 0) return false;
  const TgdbData& d = FSumData[static_cast<size_t>(pos)];
  Report(0);
  MetaInfo = ReadMetaInfo(f, d.BlobOffset);
  std::string target = Filepath;
  if (target.empty() || Platform::IsPathDelimiter(target.back())) {
    // Reduced to short-file-name characters: no separators, never "." or "..",
    // so the file lands in the target directory whatever the name holds.
    const std::string name =
        Zelk_fileutil::ReduceStringToFN83CompliantChars(std::string(d.Name.Chars()));
    if (name.empty()) Fail("RetrieveBLOB", "invalid filename.");
    target += name;
  }
  if (IsFileOfTheSet(target)) Fail("RetrieveBLOB", "invalid filename.");
  // A failed copy must not leave a truncated file where an older one was.
  Platform::WriteFileAtomically(target, [&](const std::string& temp) {
    TRecordFile out;
    out.Rewrite(temp, 1);
    CopyBlobContent(f, d.Size(), [&out](const uint8_t* p, int32_t n) { out.BlockWrite(p, n); });
    out.Close();
  });
  Report(100);
  return true;
}

bool TGeoDB::RetrieveBLOB(int32_t DBEntry, TMetaInfo& MetaInfo, void* PBLOBData,
                          int32_t SizeOfBLOBData) {
  if (!IsOpen()) return false;
  Report(0);
  const int32_t pos = OpenBlob(DBEntry, "RetrieveBLOB");
  TRecordFile& f = DataFile(false);
  bool result = false;
  if (pos >= 0) {
    const TgdbData& d = FSumData[static_cast<size_t>(pos)];
    MetaInfo = ReadMetaInfo(f, d.BlobOffset);
    if (PBLOBData == nullptr) SizeOfBLOBData = 0;
    if (SizeOfBLOBData < d.Size()) {
      Fail("RetrieveBLOB", "BLOB to be retrieved is larger than SizeOfBlobData.");
    }
    auto* dest = static_cast<uint8_t*>(PBLOBData);
    CopyBlobContent(f, d.Size(), [&dest](const uint8_t* p, int32_t n) {
      std::memcpy(dest, p, static_cast<size_t>(n));
      dest += n;
    });
    result = true;
  }
  Report(100);
  return result;
}

bool TGeoDB::RetrieveBLOB(int32_t DBEntry, TMetaInfo& MetaInfo,
                          Platform::TMemoryStream& BlobStream) {
  if (!IsOpen()) return false;
  Report(0);
  const int32_t pos = OpenBlob(DBEntry, "RetrieveBLOB");
  TRecordFile& f = DataFile(false);
  bool result = false;
  // A stream handed in for an entry that is no BLOB is left as it was.
  if (pos >= 0) {
    const TgdbData& d = FSumData[static_cast<size_t>(pos)];
    MetaInfo = ReadMetaInfo(f, d.BlobOffset);
    BlobStream.SetSize(d.Size());
    BlobStream.SetPosition(0);
    CopyBlobContent(f, d.Size(),
                    [&BlobStream](const uint8_t* p, int32_t n) { BlobStream.WriteBuffer(p, n); });
    result = true;
  }
  Report(100);
  return result;
}

}  // namespace ZELK_GeoDB
