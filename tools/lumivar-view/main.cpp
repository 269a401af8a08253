// lumivar-view [CALFILE | DIR] [--landmarks FILE [ID]]: a desktop map viewer.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>

#include "tools/lumivar-view/commandline.h"
#include "tools/lumivar-view/viewer_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("lumivar-view");
  const lumivar_view::CommandLine args =
      lumivar_view::ParseCommandLine(QApplication::arguments().mid(1));
  if (args.help) {
    std::fputs(lumivar_view::kUsage, stdout);
    return 0;
  }
  if (!args.error.isEmpty()) {
    std::fprintf(stderr, "lumivar-view: %s\n%s", qUtf8Printable(args.error), lumivar_view::kUsage);
    return 2;
  }
  lumivar_view::ViewerWindow window;
  window.show();
  if (!args.path.isEmpty()) {
    if (QFileInfo(args.path).isDir())
      window.OpenAtlas(args.path);
    else
      window.OpenMap(args.path);
  }
  if (!args.landmarkFile.isEmpty()) window.OpenLandmarks(args.landmarkFile, args.landmarkID);
  return app.exec();
}
