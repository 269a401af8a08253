// lumivar: command-line access to the library.
#include <iostream>

#include "tools/lumivar/cli.h"

using namespace lumivar_cli;

namespace {

void PrintHelp(std::ostream& out) {
  out << "lumivar - geographic components: geodesy, geographic database, calibrated maps\n\n"
         "usage: lumivar COMMAND [ARGS]\n\n"
         "  --help             this text\n"
         "  demo               a short tour of what the library does\n";
  for (const Command& c : Commands()) out << "  " << c.usage << "\n      " << c.summary << "\n";
  out << "\nCommands that take coordinates read one set per line from standard input\n"
         "when none are given on the command line.\n";
}

int RunDemo(Context& ctx) {
  ctx.out << "lumivar demo\n============\n";
  for (const DemoStep& step : DemoSteps()) {
    ctx.out << "\n== " << step.title << " ==\n";
    step.run(ctx);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Args args(argv + 1, argv + argc);
  Context ctx{std::cin, std::cout, std::cerr};
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp(args.empty() ? std::cerr : std::cout);
    return args.empty() ? 2 : 0;
  }
  const std::string name = args[0];
  args.erase(args.begin());
  try {
    if (name == "demo") return RunDemo(ctx);
    for (const Command& c : Commands())
      if (c.name == name) return c.run(args, ctx);
    throw UsageError("unknown command '" + name + "' (see lumivar --help)");
  } catch (const UsageError& e) {
    std::cerr << "lumivar: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "lumivar: " << e.what() << "\n";
    return 1;
  }
}
