// File kinds of the landmark symbols: a symbol repository, and a picture of
// every kind at sizes and directions whose vertices fall half-way between
// pixels (the rounding must not depend on the word size).
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tools/filekinds/filekinds.h"

namespace {

using lumivar_filekinds::FileKind;
using lumivar_filekinds::Registration;
using namespace ZELK_geomap;

const Registration kRepository(FileKind{"symbol repository", [](const std::string& dir) {
                                          TSymbolRepository repo(nullptr);
                                          repo.SetNEntries(11);
                                          for (int32_t i = 1; i <= 11; ++i) {
                                            TSymbol s = DefaultSymbolRecord();
                                            s.Properties.Kind = TLandMarkElement(i - 1);
                                            s.Properties.FGColor = 0x10305 * i;
                                            s.Properties.Direction = 33 * i - 200;
                                            s.Name = "Zürich \"Nr. " + std::to_string(i) +
                                                     "\" & <" + std::to_string(-i) + ">";
                                            s.Category = -i;
                                            repo.SetValues(i, s);
                                          }
                                          repo.StoreOnFile(dir + "/symbols.xml", "Straßen");
                                        }});

const Registration kSymbolPicture(FileKind{
    "symbol picture (png)", [](const std::string& dir) {
      Platform::TBitmap b;
      b.SetPixelFormat(Platform::pf24bit);
      b.SetSize(11 * 36, 12 * 36);
      for (int kind = 0; kind <= 10; ++kind)
        for (int k = 0; k < 12; ++k)
          DrawLandMarkSymbolOnCanvas(b.Canvas(), 18 + 36 * kind, 18 + 36 * k,
                                     TLandMarkElement(kind), 0xFF0000, 0x00FFFF, 3 + k % 9,
                                     30 * k + 7 * (k / 4), 5 + 2 * k, k % 3 == 2);
      Platform::SavePngToFile(b, dir + "/symbols.png");
    }});

}  // namespace
