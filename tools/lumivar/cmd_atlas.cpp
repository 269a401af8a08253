// `lumivar atlas`: registers the calibration files of a directory as an
// atlas does, lists them, and tells which map zooming in or out at a
// location would choose. The demo step builds a small atlas of generated
// maps and zooms in on a capital.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "geoatlas/geoatlas.h"
#include "platform/platform.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;
using ZELK_geoatlas::TMapDefinition;
using ZELK_geoatlas::TMapList;

// The ".xml" files of the directory, in name order.
std::vector<std::string> CalibrationFiles(const std::string& dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) throw UsageError("cannot read the directory '" + dir + "'");
  std::vector<std::string> files;
  for (const auto& entry : it) {
    const std::string name = entry.path().string();
    if (entry.is_regular_file() &&
        Platform::LowerCaseUtf8(Platform::ExtractFileExt(name)) == ".xml")
      files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Describe(const TMapList& maps, int32_t ix) {
  if (ix == 0) return "none";
  const TMapDefinition d = maps.Slot(ix);
  return std::to_string(ix) + " " + (d.Caption.empty() ? d.MapFName : d.Caption) + " (" +
         Platform::FloatToStrFixed(d.Resolution, 2) + " m/px)";
}

void PrintList(const TMapList& maps, std::ostream& out) {
  out << maps.Count() << (maps.Count() == 1 ? " map\n" : " maps\n");
  for (int32_t i = 1; i <= maps.Count(); ++i) {
    const TMapDefinition d = maps.Slot(i);
    const auto& tl = d.Corners[ZELK_geomap::gcoTopLeft];
    const auto& br = d.Corners[ZELK_geomap::gcoBottomRight];
    out << "  " << i << "  " << Platform::FloatToStrFixed(d.Resolution, 2) << " m/px  \""
        << d.Caption << "\"  " << Platform::ExtractFileName(d.OpenedFName) << "  ["
        << Platform::FloatToStrFixed(tl.Latit, 4) << ", " << Platform::FloatToStrFixed(tl.Longit, 4)
        << "] - [" << Platform::FloatToStrFixed(br.Latit, 4) << ", "
        << Platform::FloatToStrFixed(br.Longit, 4) << "]\n";
  }
}

int RunAtlas(const Args& argsIn, Context& ctx) {
  Args args = argsIn;
  const std::string resText = TakeOption(args, "--res");
  const std::string gainText = TakeOption(args, "--min-res-diff", "10");
  Args at;
  if (auto it = std::find(args.begin(), args.end(), "--at"); it != args.end()) {
    if (args.end() - it < 3) throw UsageError("--at needs a latitude and a longitude");
    at.assign(it + 1, it + 3);
    args.erase(it, it + 3);
  }
  if (args.size() != 1) throw UsageError("usage: atlas DIR [--at LAT LON --res R]");
  if (at.empty() != resText.empty()) throw UsageError("--at and --res go together");

  TMapList maps;
  for (const std::string& file : CalibrationFiles(args[0])) {
    try {
      if (maps.Register(file) == 0)
        ctx.err << "lumivar: " << file << ": no calibration, or the atlas is full\n";
    } catch (const std::exception& e) {
      ctx.err << "lumivar: " << file << ": " << e.what() << "\n";
    }
  }
  PrintList(maps, ctx.out);
  if (at.empty()) return 0;
  const double lat = ParseDouble(at[0], "--at latitude"),
               lon = ParseDouble(at[1], "--at longitude");
  const double res = ParseDouble(resText, "--res"), gain = ParseDouble(gainText, "--min-res-diff");
  ctx.out << "at " << at[0] << " " << at[1] << " from " << resText << " m/px:\n"
          << "  zoom in  -> " << Describe(maps, maps.FinerMapAt(lat, lon, res, gain)) << "\n"
          << "  zoom out -> " << Describe(maps, maps.CoarserMapAt(lat, lon, res)) << "\n";
  return 0;
}

const Registration kAtlas(Command{
    "atlas", "atlas DIR [--at LAT LON --res R] [--min-res-diff PERCENT]",
    "register the calibration files of a directory as an atlas and show which map zooming in or "
    "out at a location would choose",
    RunAtlas});

// A generated map of the range, saved again with its caption and the
// resolution measured on it.
std::string GenerateMap(const std::string& dir, const std::string& name, const std::string& caption,
                        double latLow, double lonLow, double latHigh, double lonHigh, int32_t w,
                        int32_t h) {
  ZELK_geomap::TGeoMap map(nullptr);
  map.SetSuppressPaint(true);
  const std::string file = dir + "/" + name + ".xml";
  map.CreateAndLoadEmptyMap(file, latLow, lonLow, latHigh, lonHigh, 0, 0, w, h, nullptr);
  map.SetMapCaption(caption);
  map.SaveCalDataAsXML(file, "");
  return file;
}

const Registration kDemo(DemoStep{
    70, "Atlas", [](Context& ctx) {
      const std::string dir = (std::filesystem::temp_directory_path() /
                               ("lumivar-demo-atlas-" + std::to_string(getpid())))
                                  .string();
      std::filesystem::create_directories(dir);
      ZELK_geoatlas::TGeoAtlas atlas(nullptr);
      atlas.RegisterMap(GenerateMap(dir, "europe", "Europe", 35, -10, 70, 40, 1000, 700));
      atlas.RegisterMap(GenerateMap(dir, "austria", "Austria", 46.3, 9.5, 49.1, 17.2, 900, 400));
      for (int32_t i = 1; i <= atlas.NumRegMaps(); ++i)
        ctx.out << "map " << i << ": " << atlas.GetMapDef(i).Caption << ", "
                << Platform::FloatToStrFixed(atlas.GetMapDef(i).Resolution, 0) << " m a pixel\n";
      atlas.SelectMap(1);
      const double lat = 48.2085, lon = 16.3731;  // Vienna
      const double from = atlas.CurrentMap()->CalibData().Resolution;
      ctx.out << "Zooming in on Vienna (48.2085 N, 16.3731 E) from Europe ";
      if (!atlas.ZoomIn(lat, lon, from)) {
        ctx.out << "finds no finer map\n";
      } else {
        ZELK_geomap::TGeoMap* map = atlas.CurrentMap();
        int32_t x = 0, y = 0;
        map->CalcPixelCoords(lat, lon, x, y);
        const Platform::TPoint p = map->MapImageToControl(Platform::TPoint{x, y});
        ctx.out << "selects " << map->GetMapCaption() << ";\nVienna shows at pixel (" << p.X << ", "
                << p.Y << ") of the " << map->Width() << " x " << map->Height() << " map control\n";
      }
      std::filesystem::remove_all(dir);
    }});

}  // namespace
