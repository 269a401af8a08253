// Geodesy commands: ellipsoid, country and datum tables, UTM, UPS and the
// Helmert datum transformation; and the geodesy step of the demo.
#include <algorithm>
#include <ostream>
#include <sstream>

#include "geobasics/geobasics.h"
#include "platform/lettercase.h"
#include "platform/numbers.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;
using namespace ZELK_geobasics;
using Platform::FloatToStrFixed;
using Platform::FloatToStrGeneral;
using Platform::LowerCase;

std::string Degrees(double v) {
  return FloatToStrFixed(v, 9);
}
std::string Metres(double v) {
  return FloatToStrFixed(v, 3);
}

// "gelWGS84", "WGS84" or "wgs84"; WGS 84 when the option is absent.
TGeoEllipsoid TakeEllipsoid(Args& args) {
  const std::string id = LowerCase(TakeOption(args, "--ellipsoid", "gelWGS84"));
  for (size_t i = 0; i < GeoEllipsoidCount; ++i) {
    const std::string known = LowerCase(GeoEllipsoidId[i]);
    if (id == known || "gel" + id == known) return static_cast<TGeoEllipsoid>(i);
  }
  throw UsageError("unknown ellipsoid '" + id + "' (see lumivar ellipsoids)");
}

void CheckLatitude(double lat) {
  if (!(lat >= -90 && lat <= 90)) throw UsageError("latitude must lie in -90 ... 90");
}

void CheckLongitude(double lon) {
  if (!(lon >= -180 && lon <= 180)) throw UsageError("longitude must lie in -180 ... 180");
}

void Expect(const Args& a, size_t min, size_t max, const std::string& usage) {
  if (a.size() < min || a.size() > max) throw UsageError("usage: lumivar " + usage);
}

// Runs fn on the coordinates of the command line, or on each line of
// standard input when there are none.
int Coordinates(const Args& args, size_t min, size_t max, const std::string& usage, Context& ctx,
                const std::function<void(const Args&)>& fn) {
  if (args.empty()) {
    return ForEachInput(args, 1, ctx, [&](const Args& a) {
      Expect(a, min, max, usage);
      fn(a);
    });
  }
  Expect(args, min, max, usage);
  fn(args);
  return 0;
}

int Ellipsoids(const Args& args, Context& ctx) {
  if (!args.empty()) throw UsageError("usage: lumivar ellipsoids");
  for (size_t i = 0; i < GeoEllipsoidCount; ++i) {
    const auto e = static_cast<TGeoEllipsoid>(i);
    ctx.out << GeoEllipsoidId[i] << "\t" << GeoEllipsoidName[i] << "\t"
            << FloatToStrGeneral(GeoEllipsoidData[i].SemiMajor) << "\t"
            << FloatToStrGeneral(GeoEllipsoidData[i].SemiMinor) << "\t"
            << FloatToStrFixed(RecipFlattening(e), 9) << "\t"
            << FloatToStrFixed(GeoEllEccSquared(e), 12) << "\n";
  }
  return 0;
}

void PrintCountry(const TCountryData& c, std::ostream& out) {
  out << c.ISO3166_3.ToString() << "\t" << c.ISO3166_2.ToString() << "\t" << c.Fips10.ToString()
      << "\t" << c.Name.ToString() << "\t" << FloatToStrGeneral(c.CLat) << "\t"
      << FloatToStrGeneral(c.CLong) << "\t" << c.Capital.ToString() << "\t"
      << FloatToStrGeneral(c.CapLat) << "\t" << FloatToStrGeneral(c.CapLong) << "\t" << c.CapAlt
      << "\n";
}

int Countries(const Args& args, Context& ctx) {
  if (args.size() > 1) throw UsageError("usage: lumivar countries [CODE]");
  const std::string key = args.empty() ? "" : LowerCase(args[0]);
  int found = 0;
  for (const TCountryData& c : CountryData) {
    if (!key.empty() && key != c.ISO3166_3.Chars() && key != c.ISO3166_2.Chars() &&
        key != c.Fips10.Chars() && key != LowerCase(c.Name.ToString()))
      continue;
    PrintCountry(c, ctx.out);
    ++found;
  }
  if (found == 0) throw UsageError("no country with code or name '" + args[0] + "'");
  return 0;
}

int Datums(const Args& args, Context& ctx) {
  if (args.size() > 1) throw UsageError("usage: lumivar datums [TEXT]");
  const std::string key = args.empty() ? "" : LowerCase(args[0]);
  int found = 0;
  for (int32_t n = 1; n <= GeoDatumCount; ++n) {
    const TGeoDatum& d = GeoDatumData[n - 1];
    if (LowerCase(d.DatumName.ToString()).find(key) == std::string::npos &&
        LowerCase(d.Area.ToString()).find(key) == std::string::npos)
      continue;
    ctx.out << n << "\t" << d.DatumName.ToString() << "\t" << d.Area.ToString() << "\t"
            << GeoEllipsoidId[d.Ellipsoid] << "\t" << FloatToStrGeneral(d.dX) << "\t"
            << FloatToStrGeneral(d.dY) << "\t" << FloatToStrGeneral(d.dZ) << "\t"
            << FloatToStrGeneral(d.Scale) << "\t" << FloatToStrGeneral(d.rX) << "\t"
            << FloatToStrGeneral(d.rY) << "\t" << FloatToStrGeneral(d.rZ) << "\n";
    ++found;
  }
  if (found == 0) throw UsageError("no datum whose name or area contains '" + args[0] + "'");
  return 0;
}

int Utm(Args args, Context& ctx) {
  const TGeoEllipsoid e = TakeEllipsoid(args);
  return Coordinates(args, 2, 2, "utm LAT LON [--ellipsoid ID]", ctx, [&](const Args& a) {
    const double lat = ParseDouble(a[0], "latitude"), lon = ParseDouble(a[1], "longitude");
    CheckLatitude(lat);
    CheckLongitude(lon);
    int32_t zone;
    char16_t letter;
    GeoToUTMZone(lat, lon, zone, letter);
    if (zone == 0) throw UsageError("no UTM zone at latitude " + a[0] + " (UTM covers -80 ... 84)");
    double easting, northing;
    LatLongToUTM(lat, lon, e, zone, easting, northing);
    ctx.out << zone << static_cast<char>(letter) << " " << Metres(easting) << " "
            << Metres(northing) << "\n";
  });
}

int UtmInverse(Args args, Context& ctx) {
  const TGeoEllipsoid e = TakeEllipsoid(args);
  const bool south = TakeFlag(args, "--south");
  return Coordinates(args, 3, 3, "utm-inverse EASTING NORTHING ZONE [--south] [--ellipsoid ID]",
                     ctx, [&](const Args& a) {
                       const double easting = ParseDouble(a[0], "easting");
                       const double northing = ParseDouble(a[1], "northing");
                       const int zone = ParseInt(a[2], "zone");
                       if (zone < 1 || zone > 60) throw UsageError("zone must lie in 1 ... 60");
                       double lat, lon;
                       UTMToLatLong(easting, northing, zone, south, e, lat, lon);
                       ctx.out << Degrees(lat) << " " << Degrees(lon) << "\n";
                     });
}

int Ups(Args args, Context& ctx) {
  const TGeoEllipsoid e = TakeEllipsoid(args);
  return Coordinates(args, 2, 2, "ups LAT LON [--ellipsoid ID]", ctx, [&](const Args& a) {
    const double lat = ParseDouble(a[0], "latitude"), lon = ParseDouble(a[1], "longitude");
    CheckLatitude(lat);
    CheckLongitude(lon);
    double x, y;
    LatLongToUPS(lat, lon, e, x, y);
    ctx.out << Metres(x) << " " << Metres(y) << "\n";
  });
}

int UpsInverse(Args args, Context& ctx) {
  const TGeoEllipsoid e = TakeEllipsoid(args);
  const bool south = TakeFlag(args, "--south");
  return Coordinates(args, 2, 2, "ups-inverse X Y [--south] [--ellipsoid ID]", ctx,
                     [&](const Args& a) {
                       const double x = ParseDouble(a[0], "x"), y = ParseDouble(a[1], "y");
                       double lat, lon;
                       UPSToLatLong(x, y, south, e, lat, lon);
                       ctx.out << Degrees(lat) << " " << Degrees(lon) << "\n";
                     });
}

const char* HelmertStatusText(int32_t status) {
  switch (status) {
    case htBadSourceDatum:
      return "source datum must lie in 1 ... 271";
    case htBadTargetDatum:
      return "target datum must lie in 1 ... 271";
    case htBadLatitude:
      return "latitude must lie in -90 ... 90";
    default:
      return "longitude must lie in -180 ... 180";
  }
}

int Helmert(const Args& args, Context& ctx) {
  const std::string usage = "helmert SRC DST LAT LON [H]";
  if (args.size() < 2) throw UsageError("usage: lumivar " + usage);
  const int source = ParseInt(args[0], "source datum");
  const int target = ParseInt(args[1], "target datum");
  const Args coords(args.begin() + 2, args.end());
  return Coordinates(coords, 2, 3, usage, ctx, [&](const Args& a) {
    const double lat = ParseDouble(a[0], "latitude"), lon = ParseDouble(a[1], "longitude");
    const double h = a.size() > 2 ? ParseDouble(a[2], "height") : 0.0;
    double la, lo, hh;
    const int32_t status = HelmertTransform(source, lat, lon, h, target, la, lo, hh);
    if (status != htOK) throw UsageError(HelmertStatusText(status));
    ctx.out << Degrees(la) << " " << Degrees(lo) << " " << Metres(hh) << "\n";
  });
}

const Registration kEllipsoids(Command{
    "ellipsoids", "ellipsoids", "the reference ellipsoids: id, name, a, b, 1/f, e²", Ellipsoids});
const Registration kCountries(Command{
    "countries", "countries [CODE]",
    "the country table (ISO3 ISO2 FIPS name centre capital), or the rows of one code or name",
    Countries});
const Registration kDatums(Command{"datums", "datums [TEXT]",
                                   "datums whose name or area contains TEXT, with their parameters",
                                   Datums});
const Registration kUtm(Command{"utm", "utm LAT LON [--ellipsoid ID]",
                                "UTM zone and band, easting and northing of a position", Utm});
const Registration kUtmInverse(Command{
    "utm-inverse", "utm-inverse EASTING NORTHING ZONE [--south] [--ellipsoid ID]",
    "latitude and longitude of UTM coordinates", UtmInverse});
const Registration kUps(Command{"ups", "ups LAT LON [--ellipsoid ID]",
                                "UPS x and y of a position (north grid for LAT >= 0)", Ups});
const Registration kUpsInverse(Command{"ups-inverse", "ups-inverse X Y [--south] [--ellipsoid ID]",
                                       "latitude and longitude of UPS coordinates", UpsInverse});
const Registration kHelmert(Command{
    "helmert", "helmert SRC DST LAT LON [H]",
    "transforms a position from datum SRC to datum DST (numbers of lumivar datums)", Helmert});

const Registration kDemo(DemoStep{
    10, "Geodesy", [](Context& ctx) {
      ctx.out << "WGS 84: a = " << FloatToStrGeneral(GeoEllipsoidData[gelWGS84].SemiMajor)
              << " m, 1/f = " << FloatToStrFixed(RecipFlattening(gelWGS84), 9)
              << ", e² = " << FloatToStrFixed(GeoEllEccSquared(gelWGS84), 12) << "\n";
      const double lat = 47.3769, lon = 8.5417;  // Zürich
      int32_t zone;
      double easting, northing, la, lo;
      LatLongToUTM(lat, lon, gelWGS84, zone, easting, northing);
      UTMToLatLong(easting, northing, zone, false, gelWGS84, la, lo);
      ctx.out << "Zürich " << lat << " N " << lon << " E is UTM " << GeoToUTMZone(lat, lon) << " "
              << Metres(easting) << " E " << Metres(northing) << " N; back: " << Degrees(la) << ", "
              << Degrees(lo) << "\n";
      double x, y;
      LatLongToUPS(-90, 0, gelWGS84, x, y);
      ctx.out << "The South Pole is UPS " << Metres(x) << " " << Metres(y) << "; 85 S 90 E is ";
      LatLongToUPS(-85, 90, gelWGS84, x, y);
      ctx.out << Metres(x) << " " << Metres(y) << "\n";
      double h;
      HelmertTransform(183, 51.5, -0.1, 0, 86, la, lo, h);
      ctx.out << "Ordnance Survey GB 1936 51.5, -0.1 is ETRF89 " << Degrees(la) << ", "
              << Degrees(lo) << ", height " << Metres(h) << " m\n";
      const TCountryData& peru = CountryData[164];
      ctx.out << peru.Name.ToString() << " (" << peru.ISO3166_3.ToString() << "): capital "
              << peru.Capital.ToString() << " at " << FloatToStrGeneral(peru.CapLat) << ", "
              << FloatToStrGeneral(peru.CapLong) << ", " << peru.CapAlt << " m; "
              << CountryData.size() << " countries, " << GeoDatumCount << " datums, "
              << GeoEllipsoidCount << " ellipsoids\n";
    }});

}  // namespace
