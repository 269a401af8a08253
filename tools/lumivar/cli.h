// Registry of the command-line tool's subcommands and demo steps. Each
// cmd_*.cpp registers its own with a static Registration object.
#pragma once

#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumivar_cli {

using Args = std::vector<std::string>;

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  std::string name;     // first word on the command line
  std::string usage;    // one or more lines: "utm LAT LON [--ellipsoid ID]"
  std::string summary;  // one line for --help
  std::function<int(const Args& args, Context& ctx)> run;  // args exclude the name
};

struct DemoStep {
  int order;  // steps run in ascending order
  std::string title;
  std::function<void(Context& ctx)> run;
};

// Bad input: the tool prints "lumivar: " + message and exits with 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Registration {
  explicit Registration(Command c);
  explicit Registration(DemoStep d);
};

const std::vector<Command>& Commands();
const std::vector<DemoStep>& DemoSteps();

// Helpers for argument handling shared by the commands.
double ParseDouble(const std::string& text, const std::string& what);
int ParseInt(const std::string& text, const std::string& what);
// Removes "--name VALUE" from args and returns VALUE (or fallback when absent).
std::string TakeOption(Args& args, const std::string& name, const std::string& fallback = "");
// Removes "--name" from args and tells whether it was there.
bool TakeFlag(Args& args, const std::string& name);
// Splits a line of standard input into words (blanks, tabs and commas separate).
Args SplitWords(const std::string& line);
// Runs fn once with args when they are complete (count words), else once per
// line of standard input, each line's words appended to args.
int ForEachInput(const Args& args, size_t count, Context& ctx,
                 const std::function<void(const Args&)>& fn);

}  // namespace lumivar_cli
