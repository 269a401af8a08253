// Small helpers for the test suites.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumivar_test {

// A fresh directory under the system's temporary directory, removed with
// its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return FPath; }
  // Path of a file inside the directory.
  std::string File(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

// Path of a golden file in tests/data.
std::string DataFile(const std::string& name);

std::vector<uint8_t> ReadBytes(const std::string& fileName);
std::string ReadText(const std::string& fileName);
void WriteBytes(const std::string& fileName, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& fileName, const std::string& text);

// Rows of a table file: one row a line, fields separated by '|', lines
// starting with '#' are comments. Raises when the file cannot be read.
std::vector<std::vector<std::string>> ReadTable(const std::string& fileName);

// A program run as a user runs it from a shell.
struct ToolResult {
  int status;       // exit status, -1 when the program did not exit normally
  std::string out;  // standard output and standard error together
};
// Runs `program args` through the shell (args are split and quoted by it),
// feeding input to its standard input.
ToolResult RunProgram(const std::string& program, const std::string& args,
                      const std::string& input = std::string());
#ifdef LUMIVAR_TOOL
// The built command-line tool (the suite defines LUMIVAR_TOOL).
inline ToolResult RunTool(const std::string& args, const std::string& input = std::string()) {
  return RunProgram(LUMIVAR_TOOL, args, input);
}
#endif

// Little-endian readers for checking file layouts byte by byte.
int32_t LeInt32(const std::vector<uint8_t>& b, size_t offset);
uint16_t LeUInt16(const std::vector<uint8_t>& b, size_t offset);
float LeSingle(const std::vector<uint8_t>& b, size_t offset);
double LeDouble(const std::vector<uint8_t>& b, size_t offset);

}  // namespace lumivar_test
