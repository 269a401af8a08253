// File kind of the geographic database: a small seven-file set with every
// kind of block, written with fixed dates so both word sizes write the same bytes.
#include "geodb/geodb.h"
#include "platform/filesystem.h"
#include "tools/filekinds/filekinds.h"

namespace {

using namespace ZELK_GeoDB;

const lumivar_filekinds::Registration kGeoDB(lumivar_filekinds::FileKind{
    "geographic database", [](const std::string& dir) {
      // A fresh set: an old one in dir would be opened and added to.
      for (const char* ext :
           {".zelkgds", ".zelkgdd", ".zelkgi0", ".zelkgi1", ".zelkgi2", ".zelkgi3", ".zelkgi4"})
        Platform::DeleteFile(dir + "/geodb" + ext);
      TGeoDB db(nullptr);
      db.SetGDBName(dir + "/geodb");
      db.SetDescription("Cross-build check: Zürich and friends");
      db.SetRevision(3);
      const TDateTime date = 45292.25;  // 1 January 2024, 06:00
      db.SetLazyWrite(true);
      db.AddTown("Zürich", date, 1, TSCoords{47.3769f, 8.5417f}, 408, 2, 17);
      db.AddTown("Genève", date, 0, TSCoords{46.2044f, 6.1432f}, 375, 2, -1);
      db.AddRiver("Limmat", {{47.3667f, 8.5433f}, {47.3900f, 8.5100f}, {47.4833f, 8.3000f}}, date,
                  0, 0, 0, 0, 0, 0, 1, 0);
      db.AddLake("Zürichsee", {{47.3600f, 8.5400f}, {47.2200f, 8.7500f}, {47.2000f, 8.8500f}}, date,
                 0, 0, 0, 0, 0, 406, 1, 0);
      db.AddBorder("Line", {{1.0f / 3.0f, -2.0f / 3.0f}}, false, date, 0, 0, 0, 0, 0, 0, 0, 0);
      TMetaInfo meta;
      meta.Keywords = "note";
      meta.Caption = "Über";
      const char content[] = "binary\0content";
      db.AddBLOB("note.bin", date, 0, 47, 48, 8, 9, 0, 0, 0, meta, content,
                 static_cast<int32_t>(sizeof content));
      db.ReplaceTown(2, "Genf", date, 0, TSCoords{46.2f, 6.15f}, 375, 2, -1);
      db.DeleteData(1);
      db.SetGDBName("");
    }});

}  // namespace
