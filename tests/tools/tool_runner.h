// Runs the built command-line tool as a user would and captures its output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace lumivar_test {

struct ToolResult {
  int status;
  std::string out;  // standard output and standard error together
};

// args are passed through the shell; input, when given, is fed to standard input.
inline ToolResult RunTool(const std::string& args, const std::string& input = std::string()) {
  std::string cmd = std::string(LUMIVAR_TOOL) + " " + args + " 2>&1";
  if (!input.empty()) cmd = "printf '%s' '" + input + "' | " + cmd;
  FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) return {-1, "cannot start the tool"};
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int rc = pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

}  // namespace lumivar_test
