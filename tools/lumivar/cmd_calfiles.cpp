// Calibration files from the command line: what a calibration holds and
// conversions between image pixels and geographic coordinates through it.
#include <cmath>
#include <ostream>
#include <string>

#include "geomap/calfiles.h"
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;
using namespace ZELK_geomap;

// Loads the calibration into a control; the image it names is loaded only
// when it can be found beside the calibration file or as named.
void Load(TGeoMap& map, const std::string& calFile, const std::string& id) {
  if (!Platform::FileExists(calFile)) throw UsageError("cannot open " + calFile);
  const std::string dir = Platform::ExtractFilePath(calFile);
  map.SetOnMapImageRequest([dir](Platform::TObject*, std::string& name) {
    if (!Platform::FileExists(name) && Platform::FileExists(dir + name)) name = dir + name;
  });
  if (!map.LoadCalDataFromXML(calFile, id))
    throw UsageError("no calibration " + (id.empty() ? std::string("at all") : "\"" + id + "\"") +
                     " in " + calFile);
}

std::string Fixed(double v, int decimals) {
  return Platform::FloatToStrFixed(v, decimals);
}

// Root mean square of the residuals: pixels for paired points, degrees for
// graticule points under the parabolic model.
std::string Residual(TGeoMap& map) {
  const TCalibData& d = map.CalibData();
  double sum = 0;
  int n = 0;
  if (map.CalibModel() == cmParabolicIp) {
    for (int32_t i = 1; i <= d.NumCalLines; ++i) {
      const TCalibLine& line = d.CalLines[i];
      for (int32_t k = 1; k <= line.NumPoints; ++k) {
        bool valid = false;
        const double v = line.LineType == gtlParallel ? map.CalcLatitude(line.CalPoints[k], valid)
                                                      : map.CalcLongitude(line.CalPoints[k], valid);
        if (!valid) return "n/a (graticule does not resolve)";
        sum += (v - line.LineValue) * (v - line.LineValue);
        ++n;
      }
    }
    return n ? Fixed(std::sqrt(sum / n), 6) + " deg" : "n/a";
  }
  if (map.CalibModel() == cmUndefined) return "n/a";
  for (int32_t i = 1; i <= d.NumCalQuads; ++i) {
    const TCalQuad& q = d.CalQuads[i];
    int32_t x = 0, y = 0;
    const bool ok = map.CalibModel() == cmUTM
                        ? map.CalcPixelCoordsUTM(q.Latitude, q.Longitude, x, y)
                        : map.CalcPixelCoords(q.Latitude, q.Longitude, x, y);
    if (!ok) return "n/a";
    sum += double(x - q.MapX) * (x - q.MapX) + double(y - q.MapY) * (y - q.MapY);
    ++n;
  }
  return n ? Fixed(std::sqrt(sum / n), 3) + " px" : "n/a";
}

int Info(const Args& args, Context& ctx) {
  if (args.empty() || args.size() > 2) throw UsageError("usage: info CALFILE [ID]");
  TGeoMap map(nullptr);
  Load(map, args[0], args.size() > 1 ? args[1] : "");
  const TCalibData& d = map.CalibData();
  ctx.out << "model       " << CalibModelNames[map.CalibModel()] << "\n";
  ctx.out << "caption     " << d.Caption << "\n";
  ctx.out << "image       " << (d.MapFName.empty() ? "(none)" : d.MapFName);
  if (map.MapImgWidth() > 0)
    ctx.out << " (" << map.MapImgWidth() << " x " << map.MapImgHeight() << " pixels)";
  else if (!d.MapFName.empty())
    ctx.out << " (not found)";
  ctx.out << "\n";
  const char* names[] = {"top-left", "bottom-left", "bottom-right", "top-right"};
  for (int c = 0; c < 4; ++c)
    ctx.out << "corner      " << names[c] << " " << Fixed(d.Corners[c].Latit, 5) << " "
            << Fixed(d.Corners[c].Longit, 5) << "\n";
  ctx.out << "resolution  " << Fixed(d.Resolution, 3) << " m/pixel\n";
  if (d.UTMZone >= 1 && d.UTMZone <= 60)
    ctx.out << "utm zone    " << d.UTMZone << (d.UTMSouth ? " south" : " north") << "\n";
  ctx.out << "ellipsoid   " << ZELK_geobasics::GeoEllipsoidId[d.Ellipsoid] << "\n";
  int32_t gratPoints = 0;
  for (int32_t i = 1; i <= d.NumCalLines; ++i) gratPoints += d.CalLines[i].NumPoints;
  ctx.out << "points      " << d.NumCalQuads << " paired, " << gratPoints << " on " << d.NumCalLines
          << " graticule lines\n";
  ctx.out << "rms         " << Residual(map) << "\n";
  return 0;
}

int Convert(const Args& argsIn, Context& ctx) {
  Args args = argsIn;
  const std::string id = TakeOption(args, "--id");
  const bool pixel = TakeFlag(args, "--pixel");
  const bool geo = TakeFlag(args, "--geo");
  if (args.size() != 3 || pixel == geo)
    throw UsageError("usage: convert CALFILE --pixel X Y | --geo LAT LON [--id ID]");
  TGeoMap map(nullptr);
  Load(map, args[0], id);
  if (pixel) {
    const int x = ParseInt(args[1], "X");
    const int y = ParseInt(args[2], "Y");
    bool v1 = false, v2 = false;
    const double lat = map.CalcLatitude(x, y, v1);
    const double lon = map.CalcLongitude(x, y, v2);
    if (!v1 || !v2) {
      ctx.err << "lumivar: the calibration cannot convert this pixel\n";
      return 1;
    }
    ctx.out << Fixed(lat, 6) << " " << Fixed(lon, 6) << "\n";
  } else {
    const double lat = ParseDouble(args[1], "LAT");
    const double lon = ParseDouble(args[2], "LON");
    int32_t x = 0, y = 0;
    if (!map.CalcPixelCoords(lat, lon, x, y)) {
      ctx.err << "lumivar: the calibration cannot convert this position\n";
      return 1;
    }
    ctx.out << x << " " << y << "\n";
  }
  return 0;
}

const Registration kInfo(Command{"info", "info CALFILE [ID]",
                                 "show a calibration: model, image, corners, points, residual",
                                 Info});
const Registration kConvert(Command{"convert",
                                    "convert CALFILE --pixel X Y | --geo LAT LON [--id ID]",
                                    "convert a map pixel to latitude/longitude or back", Convert});

}  // namespace
