// The viewer's command line: lumivar-view [CALFILE | DIR] [--landmarks FILE [ID]]
#pragma once

#include <QString>
#include <QStringList>

namespace lumivar_view {

struct CommandLine {
  QString path;  // a calibration file or a directory; empty: start empty
  QString landmarkFile;
  QString landmarkID;
  bool help = false;
  QString error;  // what is wrong with the arguments; empty when nothing
};

extern const char* const kUsage;

// Arguments without the program's name. The argument after FILE is the
// landmark section's identifier when it does not start with '-' and is
// not the map or atlas to open (which comes first or last).
CommandLine ParseCommandLine(const QStringList& Args);

}  // namespace lumivar_view
