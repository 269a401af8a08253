#include "tools/lumivar-view/commandline.h"

namespace lumivar_view {

const char* const kUsage =
    "usage: lumivar-view [CALFILE | DIR] [--landmarks FILE [ID]]\n"
    "  CALFILE          a calibration file: opens its map\n"
    "  DIR              a directory: opens an atlas of every calibration file in it\n"
    "  --landmarks FILE [ID]\n"
    "                   shows the landmarks of the file's section ID (default: the first)\n";

CommandLine ParseCommandLine(const QStringList& Args) {
  CommandLine c;
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString& a = Args[i];
    if (a == "-h" || a == "--help") {
      c.help = true;
    } else if (a == "--landmarks") {
      if (i + 1 >= Args.size() || Args[i + 1].startsWith('-')) {
        c.error = "--landmarks needs a file";
        return c;
      }
      c.landmarkFile = Args[++i];
      const bool idFollows = i + 1 < Args.size() && !Args[i + 1].startsWith('-');
      // the last word is the map to open unless one came first
      if (idFollows && (!c.path.isEmpty() || i + 2 < Args.size())) c.landmarkID = Args[++i];
    } else if (a.startsWith('-')) {
      c.error = "unknown option " + a;
      return c;
    } else if (c.path.isEmpty()) {
      c.path = a;
    } else {
      c.error = "one map or atlas at a time: " + a;
      return c;
    }
  }
  return c;
}

}  // namespace lumivar_view
