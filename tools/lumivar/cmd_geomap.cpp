// `lumivar calibrate`: fits a calibration model of the map control to
// points from a file, prints the coefficients and the residual, and
// converts positions through it.
#include <array>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "geomap/geomap.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;
using namespace ZELK_geomap;

// The model's name as calibration files write it, or its short form.
TCalibModel ParseModel(const std::string& text) {
  static const std::array<const char*, 6> kShortNames = {"parabolic", "biquadratic", "conic",
                                                         "miller",    "equirect",    "utm"};
  const std::string lower = Platform::LowerCase(text);
  for (size_t i = 0; i < kShortNames.size(); ++i)
    if (lower == CalibModelNames[i] || lower == kShortNames[i]) return static_cast<TCalibModel>(i);
  throw UsageError("unknown model '" + text +
                   "' (parabolic, biquadratic, conic, miller, equirect, utm)");
}

// "32" or "32S": zone and hemisphere.
void ParseZone(const std::string& text, int32_t& zone, bool& south) {
  std::string digits = text;
  south = false;
  if (!digits.empty() && (digits.back() == 'S' || digits.back() == 's')) {
    south = true;
    digits.pop_back();
  } else if (!digits.empty() && (digits.back() == 'N' || digits.back() == 'n')) {
    digits.pop_back();
  }
  zone = ParseInt(digits, "--utm");
  if (zone < 1 || zone > 60) throw UsageError("--utm: zone must be 1 to 60: '" + text + "'");
}

TGratLineKind ParseLineKind(const std::string& text) {
  if (text == "p" || text == "P" || text == "parallel") return gtlParallel;
  if (text == "m" || text == "M" || text == "meridian") return gtlMeridian;
  throw UsageError("line kind must be parallel (p) or meridian (m): '" + text + "'");
}

// Reads the points file into the map; returns the number of points stored.
int LoadPoints(TCalibration& map, const std::string& fileName, int32_t zone, bool south,
               std::ostream& err) {
  std::ifstream in(fileName);
  if (!in) throw UsageError("cannot open '" + fileName + "'");
  std::string line;
  int lineNo = 0, stored = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    Args w = SplitWords(line);
    if (w.empty() || w[0][0] == '#') continue;
    double probe = 0;
    const bool numeric = Platform::TryStrToFloat(w[0], probe);
    if (lineNo == 1 && !numeric && map.Model() != cmParabolicIp) continue;  // header
    const std::string where = fileName + ":" + std::to_string(lineNo);
    if (w.size() < 4) throw UsageError(where + ": four values expected");
    const int32_t x = ParseInt(w[2], where + " x"), y = ParseInt(w[3], where + " y");
    bool ok = false;
    if (map.Model() == cmParabolicIp)
      ok = map.AddCalibPoint(ParseLineKind(w[0]), ParseDouble(w[1], where), x, y);
    else if (map.Model() == cmUTM)
      ok = map.AddCalibPoint(ParseDouble(w[0], where + " northing"),
                             ParseDouble(w[1], where + " easting"), zone,
                             south ? ZELK_geobasics::hemiSouth : ZELK_geobasics::hemiNorth, x, y);
    else
      ok = map.AddCalibPoint(ParseDouble(w[0], where + " latitude"),
                             ParseDouble(w[1], where + " longitude"), x, y);
    if (ok)
      ++stored;
    else
      err << "lumivar: " << where << ": table full, point ignored\n";
  }
  return stored;
}

template <typename Row>
void PrintRow(std::ostream& out, const std::string& name, const Row& row) {
  out << "  " << std::left << std::setw(14) << name << std::right;
  for (double v : row) out << " " << std::setw(22) << v;
  out << "\n";
}

void PrintCoefficients(const TCalibration& map, std::ostream& out) {
  out << std::setprecision(15);
  switch (map.Model()) {
    case cmParabolicIp: {
      const auto& m = map.GratMat();
      out << "graticule lines (kind, value, c0, c1, c2):\n";
      for (int32_t r = 1; r <= m.NrOfRows(); ++r) {
        std::array<double, 5> row{};
        for (int32_t c = 1; c <= 5; ++c) row[c - 1] = m.GetVal(c, r);
        PrintRow(out, "line " + std::to_string(r), row);
      }
      break;
    }
    case cmBiquadraticPn:
      out << "pixel -> geographic (1, x, y, x^2, xy, y^2):\n";
      PrintRow(out, "latitude", map.CalParsPLSP()[1]);
      PrintRow(out, "longitude", map.CalParsPLSP()[2]);
      out << "geographic -> pixel (1, lat, lon, lat^2, lat lon, lon^2):\n";
      PrintRow(out, "x", map.CalParsSPPL()[1]);
      PrintRow(out, "y", map.CalParsSPPL()[2]);
      break;
    case cmConicConformal:
      out << "pole pixel, latitude slope/intercept, longitude slope/intercept:\n";
      PrintRow(out, "conic", map.ConicPars());
      break;
    case cmMillerCylindrical:
      out << "slope and intercept:\n";
      PrintRow(out, "y(miller)", map.MillercylPar()[1]);
      PrintRow(out, "x(lon rad)", map.MillercylPar()[2]);
      break;
    case cmEquiRect:
    case cmUTM: {
      const bool utm = map.Model() == cmUTM;
      out << "pixel -> " << (utm ? "grid" : "geographic") << " (1, x, y):\n";
      PrintRow(out, utm ? "northing" : "latitude", map.EquRectPLSP()[1]);
      PrintRow(out, utm ? "easting" : "longitude", map.EquRectPLSP()[2]);
      out << (utm ? "grid" : "geographic") << " -> pixel (1, " << (utm ? "N, E" : "lat, lon")
          << "):\n";
      PrintRow(out, "x", map.EquRectSPPL()[1]);
      PrintRow(out, "y", map.EquRectSPPL()[2]);
      break;
    }
    default:
      break;
  }
}

int RunCalibrate(const Args& argsIn, Context& ctx) {
  Args args = argsIn;
  const std::string zoneText = TakeOption(args, "--utm");
  Args pixelArgs, geoArgs;
  for (auto it = args.begin(); it != args.end();) {
    if (*it == "--pixel" || *it == "--geo") {
      Args& into = *it == "--pixel" ? pixelArgs : geoArgs;
      if (args.end() - it < 3) throw UsageError(*it + " needs two values");
      into.assign(it + 1, it + 3);
      it = args.erase(it, it + 3);
    } else {
      ++it;
    }
  }
  if (args.size() != 2) throw UsageError("usage: calibrate MODEL POINTS.csv");
  const TCalibModel model = ParseModel(args[0]);
  int32_t zone = 0;
  bool south = false;
  if (model == cmUTM) {
    if (zoneText.empty()) throw UsageError("the utm model needs --utm ZONE[S]");
    ParseZone(zoneText, zone, south);
  }

  TCalibration map;
  map.SetModel(model);
  if (model == cmUTM) {
    map.SetUTMZone(zone);
    map.SetUTMHemisphere(south ? ZELK_geobasics::hemiSouth : ZELK_geobasics::hemiNorth);
  }
  const int points = LoadPoints(map, args[1], zone, south, ctx.err);
  ctx.out << "model " << CalibModelNames[model] << ", " << points << " points\n";
  PrintCoefficients(map, ctx.out);
  if (model != cmParabolicIp) {
    double qx = 0, qy = 0;
    map.CalibQuality(qx, qy);
    ctx.out << std::setprecision(6) << "rms residual (pixels): x " << qx << ", y " << qy << "\n";
  }
  ctx.out << std::setprecision(10);
  if (!pixelArgs.empty()) {
    const int32_t x = ParseInt(pixelArgs[0], "--pixel x"), y = ParseInt(pixelArgs[1], "--pixel y");
    if (const auto geo = map.PixelToGeo(x, y))
      ctx.out << "pixel " << x << " " << y << " -> latitude " << geo->Latit << ", longitude "
              << geo->Longit << "\n";
    else
      ctx.out << "pixel " << x << " " << y << " -> no position under this calibration\n";
  }
  if (!geoArgs.empty()) {
    const double lat = ParseDouble(geoArgs[0], "--geo latitude");
    const double lon = ParseDouble(geoArgs[1], "--geo longitude");
    int32_t x = 0, y = 0;
    if (map.GeoToPixel(lat, lon, x, y))
      ctx.out << "latitude " << lat << ", longitude " << lon << " -> pixel " << x << " " << y
              << "\n";
    else
      ctx.out << "latitude " << lat << ", longitude " << lon
              << " -> no pixel under this calibration\n";
  }
  return 0;
}

const Registration kCalibrate(Command{
    "calibrate", "calibrate MODEL POINTS.csv [--utm ZONE[S]] [--pixel X Y] [--geo LAT LON]",
    "fit a map calibration model to points (lat, lon, x, y per line) and convert through it",
    RunCalibrate});

const Registration kDemo(DemoStep{
    50, "Map calibration", [](Context& ctx) {
      // A map of 0.01 degrees a pixel, calibrated with four corner points.
      TCalibration map;
      map.SetModel(cmEquiRect);
      map.AddCalibPoint(48.0, 7.0, 0, 0);
      map.AddCalibPoint(48.0, 12.0, 500, 0);
      map.AddCalibPoint(45.0, 7.0, 0, 300);
      map.AddCalibPoint(45.0, 12.0, 500, 300);
      const TCoords at = map.PixelToGeo(250, 150).value_or(TCoords{});
      ctx.out << "An equirectangular calibration from four corners puts pixel (250, 150) at "
              << at.Latit << " N " << at.Longit << " E\n";
      int32_t x = 0, y = 0;
      map.GeoToPixel(46.2, 8.5, x, y);
      ctx.out << "and 46.2 N 8.5 E at pixel (" << x << ", " << y << ")\n";
    }});

}  // namespace
