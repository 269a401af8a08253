// `lumivar render`: what the map control shows for a calibration file, as a
// PNG picture of its window surface after a paint. `lumivar generate`: a
// generated map written as its BMP and calibration file. And the demo's
// pictures: the Earth with a graticule, a generated map of Europe.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>

#include "geomap/geomap.h"
#include "platform/filesystem.h"
#include "tools/lumivar/cli.h"
#include "tools/lumivar/landmark_options.h"

namespace {

using namespace lumivar_cli;
using namespace ZELK_geomap;

// Larger pictures are refused rather than allocated by surprise.
constexpr int32_t kMaxPictureSide = 16384;

// How the control is set up before it paints.
struct TRenderOptions {
  std::string id;     // calibration identifier; "" = the first one
  int32_t width = 0;  // 0: the map image at the magnification
  int32_t height = 0;
  double mag = 1;
  Platform::TPoint topLeft{0, 0};
  TShowGrat grid = sgNone;
  double gratDist = 0;  // degrees, 0 = automatic
  int32_t utmDist = 0;  // metres, 0 = automatic
};

TShowGrat ParseGrid(const std::string& text) {
  static const struct {
    const char* name;
    TShowGrat value;
  } kGrids[] = {{"none", sgNone},   {"points", sgPoints},
                {"lines", sgLines}, {"both", sgPointsAndLines},
                {"utm", sgUTMGrid}, {"utm+points", sgPointsAndUTMGrid}};
  for (const auto& g : kGrids)
    if (text == g.name) return g.value;
  throw UsageError("--grid: one of none, points, lines, both, utm, utm+points: '" + text + "'");
}

// "WxH" with both sides from 1 to kMaxPictureSide.
void ParseSize(const std::string& text, int32_t& w, int32_t& h) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) throw UsageError("--size: WIDTHxHEIGHT expected: '" + text + "'");
  w = ParseInt(text.substr(0, x), "--size width");
  h = ParseInt(text.substr(x + 1), "--size height");
  if (w < 1 || h < 1 || w > kMaxPictureSide || h > kMaxPictureSide)
    throw UsageError("--size: each side must be 1 to " + std::to_string(kMaxPictureSide) + ": '" +
                     text + "'");
}

// Removes "--name V1 V2 ..." (count values) and returns the values, empty when absent.
Args TakeValues(Args& args, const std::string& name, size_t count) {
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return {};
  if (size_t(args.end() - it) <= count)
    throw UsageError(name + " needs " + std::to_string(count) + " values");
  Args values(it + 1, it + 1 + static_cast<std::ptrdiff_t>(count));
  args.erase(it, it + 1 + static_cast<std::ptrdiff_t>(count));
  return values;
}

std::string TakeOutput(Args& args) {
  std::string out = TakeOption(args, "-o");
  if (out.empty()) out = TakeOption(args, "--output");
  if (out.empty()) throw UsageError("an output file is needed: -o FILE");
  return out;
}

// Loads the calibration and the map image it names; an image named without
// a folder, or relative to one, is looked for beside the calibration file.
void LoadCalibration(TGeoMap& map, const std::string& calFile, const std::string& id) {
  const std::string calDir = Platform::ExtractFilePath(calFile);
  map.SetSuppressPaint(true);  // the picture is painted once, when set up
  map.SetOnMapImageRequest([&](Platform::TObject*, std::string& name) {
    if (!name.empty() && !Platform::FileExists(name) && !std::filesystem::path(name).is_absolute())
      name = calDir + name;
  });
  if (!map.LoadCalDataFromXML(calFile, id)) {
    if (!Platform::FileExists(calFile)) throw std::runtime_error("cannot open '" + calFile + "'");
    throw std::runtime_error("no calibration" + (id.empty() ? "" : " '" + id + "'") + " in '" +
                             calFile + "'");
  }
  map.SetOnMapImageRequest(nullptr);
  if (map.MapImgFile().empty())
    throw std::runtime_error("the map image of '" + calFile + "' was not found");
}

// Sets the control up as the options say, lets it paint once and writes its
// window surface.
void RenderControl(TGeoMap& map, const TRenderOptions& o, const std::string& outFile) {
  int32_t w = o.width, h = o.height;
  if (w == 0) {
    const double sw = std::ceil(map.MapImgWidth() * o.mag),
                 sh = std::ceil(map.MapImgHeight() * o.mag);
    if (!(sw <= kMaxPictureSide && sh <= kMaxPictureSide))
      throw UsageError("the map at magnification " + Platform::FloatToStrGeneral(o.mag) +
                       " is larger than " + std::to_string(kMaxPictureSide) +
                       " pixels a side; give --size");
    w = std::max(1, static_cast<int32_t>(sw));
    h = std::max(1, static_cast<int32_t>(sh));
  }
  map.SetSuppressPaint(true);
  map.SetBounds(0, 0, w, h);
  map.SetMagnification(o.mag);
  map.SetTopLeft(o.topLeft);
  map.SetGratLineDist(o.gratDist);
  map.SetUTMGridDist(o.utmDist);
  map.SetShowGrat(o.grid);
  map.SetSuppressPaint(false);  // one paint of the whole picture
  Platform::SavePngToFile(*map.Surface(), outFile);
}

int RunRender(const Args& argsIn, Context& ctx) {
  Args args = argsIn;
  const std::string out = TakeOutput(args);
  const TLandmarkOptions landmarks = TakeLandmarkOptions(args);
  TRenderOptions o;
  o.id = TakeOption(args, "--id");
  const std::string size = TakeOption(args, "--size");
  if (!size.empty()) ParseSize(size, o.width, o.height);
  const std::string mag = TakeOption(args, "--mag");
  if (!mag.empty()) {
    o.mag = ParseDouble(mag, "--mag");
    if (!(o.mag > 0) || !std::isfinite(o.mag))
      throw UsageError("--mag: a positive magnification is needed: '" + mag + "'");
  }
  const Args topLeft = TakeValues(args, "--topleft", 2);
  if (!topLeft.empty())
    o.topLeft =
        Platform::Point(ParseInt(topLeft[0], "--topleft x"), ParseInt(topLeft[1], "--topleft y"));
  o.grid = ParseGrid(TakeOption(args, "--grid", "none"));
  const std::string gratDist = TakeOption(args, "--gratdist");
  if (!gratDist.empty()) {
    o.gratDist = ParseDouble(gratDist, "--gratdist");
    if (!(o.gratDist >= 0) || o.gratDist > 60)
      throw UsageError("--gratdist: degrees from 0 (automatic) to 60: '" + gratDist + "'");
  }
  const std::string utmDist = TakeOption(args, "--utmdist");
  if (!utmDist.empty()) {
    o.utmDist = ParseInt(utmDist, "--utmdist");
    if (o.utmDist < 0 || o.utmDist > 10000000)
      throw UsageError("--utmdist: metres from 0 (automatic) to 10000000: '" + utmDist + "'");
  }
  if (args.size() != 1) throw UsageError("usage: render CALFILE -o OUT.png [options]");
  TGeoMap map(nullptr);
  map.SetName("render");
  LoadCalibration(map, args[0], o.id);
  LoadLandmarks(map, landmarks);
  RenderControl(map, o, out);
  ctx.out << "wrote " << out << " (" << map.Width() << " x " << map.Height() << ")\n";
  if (!landmarks.file.empty())
    ctx.out << map.NumLandMarks() << (map.NumLandMarks() == 1 ? " landmark" : " landmarks")
            << " from " << landmarks.file << "\n";
  return 0;
}

int RunGenerate(const Args& argsIn, Context& ctx) {
  Args args = argsIn;
  const std::string out = TakeOutput(args);
  const Args step = TakeValues(args, "--step", 2);
  if (step.empty()) throw UsageError("--step DLAT DLONG is needed");
  const std::string size = TakeOption(args, "--size");
  if (size.empty()) throw UsageError("--size WIDTHxHEIGHT is needed");
  int32_t w = 0, h = 0;
  ParseSize(size, w, h);
  if (args.size() != 4)
    throw UsageError(
        "usage: generate LATLOW LONGLOW LATHIGH LONGHIGH --step DLAT DLONG --size WxH -o NAME");
  const double latLow = ParseDouble(args[0], "LATLOW"), longLow = ParseDouble(args[1], "LONGLOW");
  const double latHigh = ParseDouble(args[2], "LATHIGH"),
               longHigh = ParseDouble(args[3], "LONGHIGH");
  TGeoMap map(nullptr);
  map.SetName("generate");
  map.SetSuppressPaint(true);  // nothing is shown
  map.CreateAndLoadEmptyMap(out, latLow, longLow, latHigh, longHigh,
                            ParseDouble(step[0], "--step DLAT"),
                            ParseDouble(step[1], "--step DLONG"), w, h, nullptr);
  ctx.out << "wrote " << map.MapImgFile() << " (" << map.MapImgWidth() << " x "
          << map.MapImgHeight() << ") and its calibration "
          << Zelk_fileutil::StripExtension(map.MapImgFile()) << ".xml (id ZELK_geomap_caldata)\n";
  return 0;
}

const Registration kRender(Command{
    "render",
    "render CALFILE -o OUT.png [--id ID] [--size WxH] [--mag M] [--topleft X Y]\n"
    "         [--grid none|points|lines|both|utm|utm+points] [--gratdist DEG] [--utmdist M]\n"
    "         [--landmarks FILE [ID]] [--symbols FILE]",
    "paint a calibrated map as the map control shows it and write the picture as PNG;\n"
    "      landmarks from a landmark file (section ID, else the first), each of class k\n"
    "      drawn with the symbol of category k of a symbol repository when it has one",
    RunRender});

const Registration kGenerate(Command{
    "generate", "generate LATLOW LONGLOW LATHIGH LONGHIGH --step DLAT DLONG --size WxH -o NAME",
    "write a generated map with its labelled graticule: NAME.bmp and its calibration NAME.xml",
    RunGenerate});

// --- the demo ---------------------------------------------------------------

// The Earth picture of the xplanet-images package: 2048 x 1024 pixels,
// equirectangular, 180 W at the left edge and 90 N at the top.
std::string FindEarthPicture() {
  const std::string known = "/usr/share/xplanet/images/earth.jpg";
  if (Platform::FileExists(known)) return known;
  std::string found;
  if (std::FILE* p = popen("dpkg -L xplanet-images 2>/dev/null", "r")) {
    char line[4096];
    while (std::fgets(line, sizeof line, p)) {
      std::string s = line;
      while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
      if (s.size() >= 10 && s.compare(s.size() - 10, 10, "/earth.jpg") == 0) found = s;
    }
    pclose(p);
  }
  return found;
}

// A few capitals on the generated map of Europe, placed through the
// picture's linear layout inside its 30-pixel margin.
void DrawCapitals(Platform::TObject*, Platform::TCanvas* c, double latLow, double longLow,
                  double latHigh, double longHigh, int32_t wid, int32_t hgt) {
  static const struct {
    const char* name;
    double lat, lon;
  } kCities[] = {
      {"Lisboa", 38.72, -9.14}, {"Madrid", 40.42, -3.70},    {"Paris", 48.86, 2.35},
      {"London", 51.51, -0.13}, {"Dublin", 53.35, -6.26},    {"Reykjavik", 64.15, -21.94},
      {"Oslo", 59.91, 10.75},   {"Stockholm", 59.33, 18.07}, {"Helsinki", 60.17, 24.94},
      {"Berlin", 52.52, 13.40}, {"Warszawa", 52.23, 21.01},  {"Wien", 48.21, 16.37},
      {"Roma", 41.90, 12.50},   {"Athina", 37.98, 23.73},    {"Moskva", 55.76, 37.62},
      {"Ankara", 39.93, 32.86}};
  c->Pen()->SetStyle(Platform::psSolid);
  c->Pen()->SetColor(0x000080);
  c->Brush()->SetColor(0x0000FF);
  for (const auto& city : kCities) {
    const int32_t x =
        30 + Platform::RoundHalfEven((city.lon - longLow) / (longHigh - longLow) * (wid - 60));
    const int32_t y =
        hgt - 30 - Platform::RoundHalfEven((city.lat - latLow) / (latHigh - latLow) * (hgt - 60));
    c->Ellipse(x - 3, y - 3, x + 4, y + 4);
    c->Brush()->SetStyle(Platform::bsClear);
    c->TextOut(x + 5, y - c->TextHeight(city.name) / 2, city.name);
    c->Brush()->SetColor(0x0000FF);
  }
}

// A symbol repository whose category 1 draws the capitals: a red dot
// ringed in black.
void WriteCapitalSymbols(const std::string& file) {
  TSymbolRepository repository(nullptr);
  repository.SetNEntries(1);
  TSymbol capital;
  capital.Properties = TSymbolProperties{lmCircle, 3, 0x000000, 0x0000FF, false, 0, 0};
  capital.Name = "Capital";
  capital.Category = 1;
  repository.SetValues(1, capital);
  repository.StoreOnFile(file, "demo");
}

void DemoWorld(Context& ctx, const std::string& dir) {
  const std::string earth = FindEarthPicture();
  if (earth.empty()) {
    ctx.out << "The Earth picture of the xplanet-images package is not installed; "
               "scripts/install-deps.sh installs it.\n";
    return;
  }
  // The calibration of the picture: its corners and the middle.
  {
    TGeoMap map(nullptr);
    map.SetSuppressPaint(true);
    map.SetMapImgName(earth);
    map.SetCalibModel(cmEquiRect);
    map.AddCalibPoint(90.0, -180.0, 0, 0);
    map.AddCalibPoint(90.0, 180.0, 2048, 0);
    map.AddCalibPoint(-90.0, -180.0, 0, 1024);
    map.AddCalibPoint(-90.0, 180.0, 2048, 1024);
    map.AddCalibPoint(0.0, 0.0, 1024, 512);
    map.AddCalibPoint(45.0, -135.0, 256, 256);
    map.AddCalibPoint(-45.0, 135.0, 1792, 768);
    map.SaveCalDataAsXML(dir + "/world.xml", "world");
  }
  const int32_t capitals = WriteCapitalLandmarks(dir + "/capitals.xml");
  WriteCapitalSymbols(dir + "/symbols.xml");
  TGeoMap map(nullptr);
  LoadCalibration(map, dir + "/world.xml", "world");
  LoadLandmarks(map, TLandmarkOptions{dir + "/capitals.xml", "capitals", dir + "/symbols.xml"});
  map.SetColorGratLine(0x30C0FF);  // light on the dark oceans
  TRenderOptions o;
  o.grid = sgPointsAndLines;
  o.gratDist = 30;
  RenderControl(map, o, dir + "/world.png");
  ctx.out << "The Earth (" << earth << ") calibrated equirectangularly in " << dir
          << "/world.xml,\nwith a 30-degree graticule, the calibration points and the " << capitals
          << " capitals of the country table\n(" << dir
          << "/capitals.xml, drawn with the symbol of " << dir << "/symbols.xml): " << dir
          << "/world.png\n";
}

void DemoEurope(Context& ctx, const std::string& dir) {
  TGeoMap map(nullptr);
  map.SetSuppressPaint(true);
  map.CreateAndLoadEmptyMap(dir + "/europe.bmp", 35, -25, 72, 45, 5, 5, 1000, 620, DrawCapitals);
  RenderControl(map, TRenderOptions{}, dir + "/europe.png");
  bool valid = false;
  const double lat = map.CalcLatitude(500, 310, valid), lon = map.CalcLongitude(500, 310, valid);
  ctx.out << "A generated map of Europe, 35..72 N and 25 W..45 E with 5-degree steps: " << dir
          << "/europe.bmp with its calibration " << dir
          << "/europe.xml,\nas the control shows it: " << dir
          << "/europe.png (its middle pixel lies at " << Platform::FloatToStrFixed(lat, 2) << " N "
          << Platform::FloatToStrFixed(lon, 2) << " E)\n";
}

const Registration kDemo(DemoStep{60, "Map rendering", [](Context& ctx) {
                                    const std::string dir = "demo-out";
                                    Platform::CreateDir(dir);
                                    DemoWorld(ctx, dir);
                                    DemoEurope(ctx, dir);
                                  }});

}  // namespace
