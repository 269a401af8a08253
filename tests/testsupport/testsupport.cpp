#include "tests/testsupport/testsupport.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lumivar_test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumivar-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot create a temporary directory");
  FPath = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

std::string DataFile(const std::string& name) {
  return std::string(LUMIVAR_TEST_DATA) + "/" + name;
}

std::vector<uint8_t> ReadBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + fileName);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string ReadText(const std::string& fileName) {
  auto b = ReadBytes(fileName);
  return std::string(b.begin(), b.end());
}

void WriteBytes(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  // A new file rather than a truncated one: the file system flushes a file
  // that was truncated and written again to the disk when it is closed,
  // which makes tests that restore files many times slow.
  std::error_code ec;
  std::filesystem::remove(fileName, ec);
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + fileName);
}

void WriteText(const std::string& fileName, const std::string& text) {
  WriteBytes(fileName, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<std::vector<std::string>> ReadTable(const std::string& fileName) {
  std::ifstream in(fileName);
  if (!in) throw std::runtime_error("cannot read " + fileName);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
      fields.push_back(line.substr(start, bar - start));
    fields.push_back(line.substr(start));
    rows.push_back(std::move(fields));
  }
  return rows;
}

ToolResult RunProgram(const std::string& program, const std::string& args,
                      const std::string& input) {
  // Standard input comes from a file, so that any bytes pass unquoted.
  TempDir dir;
  WriteText(dir.File("stdin"), input);
  const std::string command = program + " " + args + " <" + dir.File("stdin") + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, "cannot start " + program};
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  const int rc = ::pclose(pipe);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

int32_t LeInt32(const std::vector<uint8_t>& b, size_t o) {
  return static_cast<int32_t>(uint32_t(b.at(o)) | uint32_t(b.at(o + 1)) << 8 |
                              uint32_t(b.at(o + 2)) << 16 | uint32_t(b.at(o + 3)) << 24);
}

uint16_t LeUInt16(const std::vector<uint8_t>& b, size_t o) {
  return static_cast<uint16_t>(b.at(o) | b.at(o + 1) << 8);
}

float LeSingle(const std::vector<uint8_t>& b, size_t o) {
  const uint32_t u = static_cast<uint32_t>(LeInt32(b, o));
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}

double LeDouble(const std::vector<uint8_t>& b, size_t o) {
  uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | b.at(o + static_cast<size_t>(i));
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

}  // namespace lumivar_test
