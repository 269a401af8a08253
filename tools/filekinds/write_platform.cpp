// File kinds of the platform layer: a text file and a record file.
#include "platform/platform.h"
#include "tools/filekinds/filekinds.h"

namespace {

using lumivar_filekinds::FileKind;
using lumivar_filekinds::Registration;

const Registration kTextFile(FileKind{"text file", [](const std::string& dir) {
                                        Platform::TTextFile f;
                                        f.Rewrite(dir + "/text.txt");
                                        f.WriteLn(Platform::Utf8ToCp1252("Zürich ") +
                                                  Platform::FloatToStrGeneral(1.0 / 3.0));
                                        f.WriteLn(Platform::FloatToStrFixed(-12.3456789, 5) + " " +
                                                  Platform::FloatToStrGeneral(2.5e-9));
                                        f.Close();
                                      }});

}  // namespace
