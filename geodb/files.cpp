// Opening, creating and closing the seven-file set; the data file header.
#include <cerrno>
#include <cstring>

#include "geodb/geodb.h"
#include "geodb/records.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "support/brontal/fileutil.h"

namespace ZELK_GeoDB {

using Platform::EInOutError;
using Platform::TRecordFile;

namespace {

const char* const kIndexExt[5] = {".zelkgi0", ".zelkgi1", ".zelkgi2", ".zelkgi3", ".zelkgi4"};

// Size in bytes of a file of the set, creating it empty when it does not
// exist. Only a missing file is created: any other failure to open must not
// end in truncating a file that is there.
int64_t OpenOrCreate(const std::string& name) {
  TRecordFile f;
  if (!f.TryReset(name, 1, Platform::faReadOnly)) {
    if (f.LastError() != ENOENT) Platform::RaiseInOutError("open", name, f.LastError());
    f.Rewrite(name, 1);
  }
  return f.SizeInBytes();
}

std::vector<uint8_t> ReadBytes(const std::string& name, int64_t count) {
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  TRecordFile f;
  f.Reset(name, 1, Platform::faReadOnly);
  f.BlockReadExact(bytes.data(), count);
  return bytes;
}

}  // namespace

TGeoDB::TGeoDB(Platform::TComponent* AOwner) : Platform::TComponent(AOwner) {}

TGeoDB::~TGeoDB() {
  FNumSumItems = 0;
  if (FLazyWrite) {
    // A destructor cannot report a failure; the files then keep their last
    // saved state, and the next opening rebuilds what does not fit.
    try {
      SaveAllIndexes();
    } catch (const std::exception&) {
    }
  }
}

std::string TGeoDB::Message(const std::string& operation, const std::string& text) const {
  return "Component \"" + Name() + "\": " + operation + ": " + text;
}

void TGeoDB::Fail(const std::string& operation, const std::string& text) const {
  throw EZELKGeoDBError(Message(operation, text));
}

void TGeoDB::Report(int32_t percent) {
  if (FOnPercentDone && FOnPercDoneEnabled) FOnPercentDone(this, percent);
}

std::string TGeoDB::GetGDBName() const {
  return FNameGDS.empty() ? std::string() : Zelk_fileutil::StripExtension(FNameGDS);
}

void TGeoDB::ResetToClosed() {
  CloseFiles();
  FLazyWrite = false;
  FSystemData = TgdbSystemData();
  FNameGDS.clear();
  FNameGDD.clear();
  for (auto& n : FNameIX) n.clear();
  FNumSumItems = 0;
  FSumData.clear();
  FUnwrittenGap = -1;
  FIx0ItemId.Clear();
  for (int32_t n = 1; n <= 4; ++n) LLIndex(n).Clear();
}

void TGeoDB::SetGDBName(const std::string& Name) {
  if (FLazyWrite && IsOpen()) SaveAllIndexes();
  if (Name.empty()) {
    ResetToClosed();
    return;
  }
  OpenFileSet(Zelk_fileutil::StripExtension(Name));
}

void TGeoDB::OpenFileSet(const std::string& base) {
  std::array<std::string, 5> ixNames;
  std::array<int64_t, 5> ixSizes{};
  try {
    for (int32_t i : {1, 2, 3, 4, 0}) {
      ixNames[i] = base + kIndexExt[i];
      ixSizes[i] = OpenOrCreate(ixNames[i]);
    }
    const std::string gds = base + ".zelkgds";
    const std::string gdd = base + ".zelkgdd";
    const int64_t count = OpenOrCreate(gds) / Records::kDataSize;
    if (count > INT32_MAX / Records::kDataSize) Platform::RaiseInOutError("open", gds, EFBIG);
    const std::vector<uint8_t> sumBytes = ReadBytes(gds, count * Records::kDataSize);

    TgdbSystemData header;  // a new database's header unless the data file has one
    TRecordFile data;
    if (data.TryReset(gdd, 1, Platform::faReadOnly)) {
      uint8_t bytes[Records::kSystemDataSize];
      data.BlockReadExact(bytes, Records::kSystemDataSize);
      header = Records::GetSystemData(bytes);
    } else {
      if (data.LastError() != ENOENT) Platform::RaiseInOutError("open", gdd, data.LastError());
      uint8_t bytes[Records::kSystemDataSize] = {};
      Records::PutSystemData(bytes, header);
      data.Rewrite(gdd, 1);
      data.BlockWrite(bytes, Records::kSystemDataSize);
    }
    data.Close();

    std::array<std::vector<uint8_t>, 5> ixBytes;
    for (int32_t i = 0; i < 5; ++i)
      if (ixSizes[i] == count * Records::kIndexRecSize)
        ixBytes[i] = ReadBytes(ixNames[i], ixSizes[i]);
      else
        ixBytes[i].clear();

    // Everything is read: only now does the component take the new set.
    const bool lazy = FLazyWrite;
    ResetToClosed();
    FLazyWrite = lazy;
    FNameIX = ixNames;
    FNameGDS = gds;
    FNameGDD = gdd;
    FSystemData = header;
    FNumSumItems = static_cast<int32_t>(count);
    FSumData.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < FNumSumItems; ++i)
      FSumData[i] = Records::GetData(sumBytes.data() + static_cast<size_t>(i) * Records::kDataSize);
    // Identifiers are never reused, even when the header lags behind the items.
    for (const auto& d : FSumData)
      if (d.ItemId > FSystemData.HighestID) FSystemData.HighestID = d.ItemId;
    FinishInterruptedDelete();
    const bool rebuilt = LoadIndexes(ixBytes);
    if (rebuilt && !FLazyWrite) {
      // The repaired indexes live in memory either way; a read-only file set
      // simply gets them rebuilt again next time.
      try {
        SaveAllIndexes();
      } catch (const EInOutError&) {
      }
    }
  } catch (...) {
    ResetToClosed();
    throw;
  }
}

void TGeoDB::FinishInterruptedDelete() {
  // Deleting moves the last record into the gap, then cuts the summary file
  // by one record. Stopped in between, or with the move torn, the file holds
  // the last item's identifier twice; identifiers are unique otherwise.
  if (FNumSumItems < 2) return;
  const int32_t last = FNumSumItems - 1;
  const int32_t id = FSumData[static_cast<size_t>(last)].ItemId;
  int32_t gap = 0;
  while (gap < last && FSumData[static_cast<size_t>(gap)].ItemId != id) ++gap;
  if (gap == last) return;
  FSumData[static_cast<size_t>(gap)] = FSumData[static_cast<size_t>(last)];
  FSumData.pop_back();
  --FNumSumItems;
  // A set that cannot be written now gets the repair before its next change,
  // which would otherwise overwrite the last record, the only intact copy.
  FUnwrittenGap = gap;
  try {
    WriteUnwrittenGap();
  } catch (const EInOutError&) {
  }
}

void TGeoDB::WriteUnwrittenGap() {
  if (FUnwrittenGap < 0) return;
  WriteSummaryRecord(FUnwrittenGap, FSumData[static_cast<size_t>(FUnwrittenGap)]);
  SummaryFile().Seek(FNumSumItems);
  SummaryFile().Truncate();
  FUnwrittenGap = -1;
}

void TGeoDB::ReloadAfterFailedChange() {
  // A change that failed half-way may leave the files and the in-memory copy
  // apart; the files are what the next opening sees, so take them again.
  try {
    OpenFileSet(Zelk_fileutil::StripExtension(FNameGDS));
  } catch (...) {
    // OpenFileSet has closed the component; the original error matters more.
  }
}

TRecordFile& TGeoDB::DataFile(bool write) {
  if (FDataFile.IsOpen() && (FDataWritable || !write)) return FDataFile;
  FDataFile.Reset(FNameGDD, 1, write ? Platform::faReadWrite : Platform::faReadOnly);
  FDataWritable = write;
  return FDataFile;
}

TRecordFile& TGeoDB::SummaryFile() {
  if (!FSumFile.IsOpen()) FSumFile.Reset(FNameGDS, Records::kDataSize);
  return FSumFile;
}

TRecordFile& TGeoDB::IndexFile(int32_t n) {
  TRecordFile& f = FIxFile[n];
  if (!f.IsOpen() && !f.TryReset(FNameIX[n], 1)) {
    if (f.LastError() != ENOENT) Platform::RaiseInOutError("open", FNameIX[n], f.LastError());
    f.Rewrite(FNameIX[n], 1);
    FIxFileCount[n] = 0;
    FIxDirtyFrom[n] = 0;
  }
  return f;
}

void TGeoDB::CloseFiles() {
  FDataFile.Close();
  FDataWritable = false;
  FSumFile.Close();
  for (auto& f : FIxFile) f.Close();
}

void TGeoDB::WriteHeader(const char* operation) {
  uint8_t bytes[Records::kSystemDataSize];
  Records::PutSystemData(bytes, FSystemData);
  try {
    TRecordFile& f = DataFile(true);
    f.Seek(0);
    f.BlockWrite(bytes, Records::kSystemDataSize);
  } catch (const EInOutError&) {
    Fail(operation, "cannot open database.");
  }
}

std::string TGeoDB::GetDescription() const {
  return FSystemData.Description.ToString();
}

void TGeoDB::SetDescription(const std::string& Value) {
  if (!IsOpen()) return;
  const std::string raw = Platform::Utf8ToCp1252(Value);
  FSystemData.Description = decltype(FSystemData.Description)::FromRaw(raw.substr(0, 60));
  WriteHeader("SetDescription");
}

void TGeoDB::SetRevision(int32_t Value) {
  if (!IsOpen()) return;
  FSystemData.Revision = Value;
  WriteHeader("SetRevision");
}

void TGeoDB::SetLazyWrite(bool Value) {
  if (Value == FLazyWrite) return;
  FLazyWrite = Value;
  if (!Value) SaveAllIndexes();
}

TgdbData TGeoDB::GetSumdata(int32_t ix) const {
  if (FNumSumItems == 0) {
    TgdbData empty;
    for (size_t i = 1; i <= TgdbName::MaxLength(); ++i) empty.Name[i] = ' ';
    return empty;
  }
  ix = std::clamp(ix, 1, FNumSumItems);
  return FSumData[static_cast<size_t>(ix - 1)];
}

void TGeoDB::AppendSummaryRecord(const TgdbData& data) {
  WriteSummaryRecord(FNumSumItems, data);
}

void TGeoDB::WriteSummaryRecord(int32_t position, const TgdbData& data) {
  uint8_t bytes[Records::kDataSize];
  Records::PutData(bytes, data);
  TRecordFile& f = SummaryFile();
  f.Seek(position);
  f.BlockWrite(bytes, 1);
}

}  // namespace ZELK_GeoDB
