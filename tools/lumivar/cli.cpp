#include "tools/lumivar/cli.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "platform/numbers.h"

namespace lumivar_cli {
namespace {

std::vector<Command>& CommandList() {
  static std::vector<Command> list;
  return list;
}

std::vector<DemoStep>& DemoList() {
  static std::vector<DemoStep> list;
  return list;
}

}  // namespace

Registration::Registration(Command c) {
  CommandList().push_back(std::move(c));
}
Registration::Registration(DemoStep d) {
  DemoList().push_back(std::move(d));
}

const std::vector<Command>& Commands() {
  auto& list = CommandList();
  std::sort(list.begin(), list.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  return list;
}

const std::vector<DemoStep>& DemoSteps() {
  auto& list = DemoList();
  std::stable_sort(list.begin(), list.end(),
                   [](const DemoStep& a, const DemoStep& b) { return a.order < b.order; });
  return list;
}

double ParseDouble(const std::string& text, const std::string& what) {
  double v = 0;
  if (!Platform::TryStrToFloat(text, v)) throw UsageError(what + ": not a number: '" + text + "'");
  return v;
}

int ParseInt(const std::string& text, const std::string& what) {
  int32_t v = 0;
  if (!Platform::TryStrToInt(text, v)) throw UsageError(what + ": not an integer: '" + text + "'");
  return v;
}

std::string TakeOption(Args& args, const std::string& name, const std::string& fallback) {
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return fallback;
  if (it + 1 == args.end()) throw UsageError(name + " needs a value");
  std::string value = *(it + 1);
  args.erase(it, it + 2);
  return value;
}

bool TakeFlag(Args& args, const std::string& name) {
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return false;
  args.erase(it);
  return true;
}

Args SplitWords(const std::string& line) {
  Args words;
  std::string word;
  for (char c : line) {
    if (c == ' ' || c == '\t' || c == ',' || c == '\r' || c == ';') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

int ForEachInput(const Args& args, size_t count, Context& ctx,
                 const std::function<void(const Args&)>& fn) {
  if (args.size() >= count) {
    fn(args);
    return 0;
  }
  int status = 0;
  std::string line;
  while (std::getline(ctx.in, line)) {
    Args words = SplitWords(line);
    if (words.empty() || words[0][0] == '#') continue;
    Args all = args;
    all.insert(all.end(), words.begin(), words.end());
    try {
      fn(all);
    } catch (const std::exception& e) {
      ctx.err << "lumivar: " << e.what() << "\n";
      status = 1;
    }
  }
  return status;
}

}  // namespace lumivar_cli
