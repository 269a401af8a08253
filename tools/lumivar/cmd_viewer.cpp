// The demo's last step: an atlas for the viewer (the Earth, Europe, the
// Alps) and a landmark file of the world's capitals, and the command that
// opens them in lumivar-view.
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tools/lumivar/cli.h"
#include "tools/lumivar/landmark_options.h"

namespace {

using namespace lumivar_cli;
namespace fs = std::filesystem;

// The Earth of the rendering step, its picture copied beside the atlas's
// calibration file (an atlas looks for images there). False when that step
// found no picture.
bool WriteWorldMap(const std::string& from, const std::string& dir) {
  if (!fs::exists(from)) return false;
  ZELK_geomap::TGeoMap map(nullptr);
  map.SetSuppressPaint(true);
  if (!map.LoadCalDataFromXML(from, "world") || map.MapImgWidth() <= 0) return false;
  map.CalcExtentsAndResolution();
  const std::string image = map.MapImgFile();
  fs::copy_file(image, dir + "/" + Platform::ExtractFileName(image),
                fs::copy_options::overwrite_existing);
  ZELK_geomap::TCalibData data = map.CalibData();
  data.MapFName = Platform::ExtractFileName(image);
  data.Caption = "World";
  Platform::TTextFile f;
  f.Rewrite(dir + "/world.xml");
  ZELK_geomap::WriteRawCalDataToOpenXMLFile(f, true, "", data, map.CalibModel());
  f.Close();
  return true;
}

void WriteGeneratedMap(const std::string& dir, const std::string& name, const std::string& caption,
                       double latLow, double lonLow, double latHigh, double lonHigh, double step,
                       int32_t w, int32_t h) {
  ZELK_geomap::TGeoMap map(nullptr);
  map.SetSuppressPaint(true);
  const std::string file = dir + "/" + name + ".xml";
  map.CreateAndLoadEmptyMap(file, latLow, lonLow, latHigh, lonHigh, step, step, w, h, nullptr);
  map.SetMapCaption(caption);
  map.SaveCalDataAsXML(file, "");
}

// The viewer beside this program in the build tree, else the installed one.
std::string ViewerCommand() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const fs::path built = self.parent_path() / "lumivar-view" / "lumivar-view";
  const fs::path installed = self.parent_path() / "lumivar-view";
  for (const fs::path& p : {built, installed})
    if (!ec && fs::exists(p)) {
      const fs::path relative = fs::relative(p, fs::current_path(), ec);
      return ec || relative.empty() ? p.string() : relative.string();
    }
  return "";
}

const Registration kDemo(DemoStep{
    90, "The viewer", [](Context& ctx) {
      const std::string dir = "demo-out/atlas";
      fs::create_directories(dir);
      const bool world = WriteWorldMap("demo-out/world.xml", dir);
      WriteGeneratedMap(dir, "europe", "Europe", 35, -25, 72, 45, 5, 1400, 740);
      WriteGeneratedMap(dir, "alps", "Alps", 43.5, 5, 48.5, 17, 1, 1200, 500);
      const int32_t capitals = WriteCapitalLandmarks("demo-out/capitals.xml");
      ctx.out << "An atlas of " << (world ? "the Earth, " : "") << "Europe and the Alps in " << dir
              << ",\n"
              << capitals << " capitals as landmarks in demo-out/capitals.xml.\n";
      const std::string viewer = ViewerCommand();
      if (viewer.empty()) {
        ctx.out << "The viewer lumivar-view is built where Qt 6 is found (qt6-base-dev).\n";
        return;
      }
      ctx.out << "Open them in the viewer (wheel zooms, the magnifier button steps between maps):\n"
              << "  " << viewer << " " << dir << " --landmarks demo-out/capitals.xml capitals\n";
    }});

}  // namespace
