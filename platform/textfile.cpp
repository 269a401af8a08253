#include "platform/textfile.h"

#include <cerrno>

#include "platform/errors.h"
#include "platform/writefaults_internal.h"

namespace Platform {

TTextFile::~TTextFile() {
  if (FFile != nullptr) std::fclose(FFile);
}

void TTextFile::Check(bool ok, const char* operation) {
  if (!ok) RaiseInOutError(operation, FName, errno);
}

bool TTextFile::TryReset(const std::string& fileName) {
  if (FFile != nullptr) std::fclose(FFile);
  FPending.clear();
  FName = fileName;
  FWriting = false;
  FFile = std::fopen(fileName.c_str(), "rb");
  return FFile != nullptr;
}

void TTextFile::Reset(const std::string& fileName) {
  Check(TryReset(fileName), "open");
}

void TTextFile::Rewrite(const std::string& fileName) {
  if (FFile != nullptr) std::fclose(FFile);
  FPending.clear();
  FName = fileName;
  FWriting = true;
  FFile = std::fopen(fileName.c_str(), "wb");
  Check(FFile != nullptr, "create");
}

void TTextFile::Append(const std::string& fileName) {
  if (FFile != nullptr) std::fclose(FFile);
  FPending.clear();
  FName = fileName;
  FWriting = true;
  FFile = std::fopen(fileName.c_str(), "ab");
  Check(FFile != nullptr, "open");
}

bool TTextFile::ReadLn(std::string& line) {
  line.clear();
  if (FFile == nullptr || FWriting) return false;
  if (!FPending.empty()) {
    line = std::move(FPending.back());
    FPending.pop_back();
    return true;
  }
  int c = getc_unlocked(FFile);
  if (c == EOF) {
    Check(!std::ferror(FFile), "read");
    return false;
  }
  while (c != EOF && c != '\n') {
    line += static_cast<char>(c);
    c = getc_unlocked(FFile);
  }
  Check(!std::ferror(FFile), "read");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool TTextFile::Eof() {
  if (FFile == nullptr || FWriting) return true;
  if (!FPending.empty()) return false;
  const int c = getc_unlocked(FFile);
  if (c == EOF) return true;
  std::ungetc(c, FFile);
  return false;
}

void TTextFile::Write(std::string_view text) {
  if (FFile == nullptr || !FWriting) RaiseInOutError("write", FName, EBADF);
  // An empty view may carry a null pointer, which fwrite must not get.
  if (text.empty()) return;
  int fault = 0;
  const auto allowed =
      static_cast<size_t>(WriteFaults::Allow(static_cast<int64_t>(text.size()), fault));
  Check(std::fwrite(text.data(), 1, allowed, FFile) == allowed, "write");
  if (fault != 0) RaiseInOutError("write", FName, fault);
}

void TTextFile::WriteLn(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void TTextFile::Close() {
  FPending.clear();
  if (FFile == nullptr) return;
  const bool ok = std::fclose(FFile) == 0;
  FFile = nullptr;
  if (FWriting) Check(ok, "close");
}

}  // namespace Platform
