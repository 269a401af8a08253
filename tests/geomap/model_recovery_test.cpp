// Each calibration model, fitted to points of a synthetic map whose pixels
// follow a known mapping, reproduces that mapping: pixel -> geographic ->
// pixel round trips within a pixel, geographic errors within what the
// mapping allows, also with noisy points.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "geomap/fits.h"
#include "geomap/geomap.h"

using namespace ZELK_geomap;
using ZELK_geobasics::gelWGS84;
using ZELK_geobasics::hemiNorth;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int32_t kImgW = 1000, kImgH = 800;

struct Geo {
  double lat, lon;
};
using PixelToGeo = std::function<Geo(double x, double y)>;

// Integer pixels spread over the image (a jittered grid).
std::vector<Platform::TPoint> SamplePixels(int count, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> ux(0, kImgW), uy(0, kImgH);
  std::vector<Platform::TPoint> pts;
  for (int i = 0; i < count; ++i) pts.push_back({ux(rng), uy(rng)});
  return pts;
}

// A few points go in one by one; large sets are handed over at once and
// fitted once, which keeps the conic search of the tests quick.
void AddPairedPoints(TCalibration& map, const PixelToGeo& f, int count, double noiseDeg = 0,
                     uint32_t seed = 1) {
  std::mt19937 rng(seed + 100);
  std::normal_distribution<double> noise(0.0, noiseDeg);
  TCalibData cd = map.Data();
  for (const Platform::TPoint& p : SamplePixels(count, seed)) {
    Geo g = f(p.X, p.Y);
    if (noiseDeg > 0) {
      g.lat += noise(rng);
      g.lon += noise(rng);
    }
    if (count <= 30)
      ASSERT_TRUE(map.AddCalibPoint(g.lat, g.lon, p.X, p.Y));
    else
      cd.CalQuads[++cd.NumCalQuads] = TCalQuad{g.lat, g.lon, p.X, p.Y};
  }
  if (count > 30) {
    map.SetData(cd);
    map.Refit(true);
  }
}

// Checks pixel -> geographic against the truth, the truth -> pixel, and the
// model's own round trip pixel -> geographic -> pixel.
void ExpectRecovers(const TCalibration& map, const PixelToGeo& f, double latTol, double lonTol,
                    int32_t pixTol) {
  for (const Platform::TPoint& p : SamplePixels(60, 777)) {
    SCOPED_TRACE(testing::Message() << "pixel " << p.X << "," << p.Y);
    const std::optional<TCoords> geo = map.PixelToGeo(p.X, p.Y);
    ASSERT_TRUE(geo.has_value());
    const double lat = geo->Latit, lon = geo->Longit;
    const Geo truth = f(p.X, p.Y);
    EXPECT_NEAR(lat, truth.lat, latTol);
    EXPECT_NEAR(lon, truth.lon, lonTol);
    int32_t x = -1, y = -1;
    ASSERT_TRUE(map.GeoToPixel(truth.lat, truth.lon, x, y));
    EXPECT_LE(std::abs(x - p.X), pixTol);
    EXPECT_LE(std::abs(y - p.Y), pixTol);
    ASSERT_TRUE(map.GeoToPixel(lat, lon, x, y));
    EXPECT_LE(std::abs(x - p.X), 1);
    EXPECT_LE(std::abs(y - p.Y), 1);
  }
}

class ModelRecovery : public ::testing::Test {
 protected:
  ModelRecovery() { map.SetImageSize(kImgW, kImgH); }
  TCalibration map;
};

const PixelToGeo kAffine = [](double x, double y) {
  return Geo{52.0 - 0.004 * y + 0.0003 * x, 8.0 + 0.006 * x + 0.0002 * y};
};

TEST_F(ModelRecovery, EquiRectangularRecoversAnAffineMap) {
  map.SetModel(cmEquiRect);
  map.Refit(true);
  AddPairedPoints(map, kAffine, 12);
  ExpectRecovers(map, kAffine, 1e-9, 1e-9, 0);
  EXPECT_NEAR(map.EquRectPLSP()[1][1], 52.0, 1e-9);
  EXPECT_NEAR(map.EquRectPLSP()[1][3], -0.004, 1e-12);
  EXPECT_NEAR(map.EquRectPLSP()[2][2], 0.006, 1e-12);
}

TEST_F(ModelRecovery, EquiRectangularWithNoisyPointsIsALeastSquaresFit) {
  map.SetModel(cmEquiRect);
  map.Refit(true);
  // noise of about half a pixel, 200 points
  AddPairedPoints(map, kAffine, 200, 0.002, 5);
  ExpectRecovers(map, kAffine, 0.0006, 0.0006, 1);
  double qx = -1, qy = -1;
  map.CalibQuality(qx, qy);
  EXPECT_GT(qx, 0.0);
  EXPECT_LT(qx, 1.0);
  EXPECT_LT(qy, 1.0);
}

TEST_F(ModelRecovery, BiquadraticRecoversAQuadraticMap) {
  const PixelToGeo quad = [](double x, double y) {
    return Geo{48.0 - 0.003 * y + 0.0001 * x + 1e-8 * x * x - 2e-8 * x * y + 3e-8 * y * y,
               11.0 + 0.004 * x - 0.0002 * y + 2e-8 * x * x + 1e-8 * y * y};
  };
  map.SetModel(cmBiquadraticPn);
  map.Refit(true);
  AddPairedPoints(map, quad, 40);
  // pixel -> geographic is exact; the inverse is a quadratic approximation
  ExpectRecovers(map, quad, 1e-9, 1e-9, 1);
  EXPECT_NEAR(map.CalParsPLSP()[1][4], 1e-8, 1e-14);
  EXPECT_NEAR(map.CalParsPLSP()[1][5], -2e-8, 1e-14);
  EXPECT_NEAR(map.CalParsPLSP()[2][6], 1e-8, 1e-14);
}

TEST_F(ModelRecovery, BiquadraticWithNoisyPoints) {
  const PixelToGeo quad = [](double x, double y) {
    return Geo{48.0 - 0.003 * y + 1e-7 * x * x, 11.0 + 0.004 * x + 1e-7 * y * y};
  };
  map.SetModel(cmBiquadraticPn);
  map.Refit(true);
  AddPairedPoints(map, quad, 200, 0.0003, 9);
  ExpectRecovers(map, quad, 0.0003, 0.0003, 1);
}

// Miller cylindrical: x linear in longitude, y linear in the Miller ordinate.
Geo MillerTruth(double x, double y) {
  const double kx = 2000.0, dx = -200.0;  // pixels per radian, offset
  const double ky = -2000.0, dy = 2400.0;
  const double m = (y - dy) / ky;
  const double lat = (std::atan(std::exp(m)) - kPi / 4) * 2.5 * 180.0 / kPi;
  return Geo{lat, (x - dx) / kx * 180.0 / kPi};
}

TEST_F(ModelRecovery, MillerCylindricalRecoversTheProjection) {
  map.SetModel(cmMillerCylindrical);
  map.Refit(true);
  AddPairedPoints(map, MillerTruth, 25);
  ExpectRecovers(map, MillerTruth, 1e-9, 1e-9, 0);
  EXPECT_NEAR(map.MillercylPar()[2][1], 2000.0, 1e-6);
  EXPECT_NEAR(map.MillercylPar()[1][1], -2000.0, 1e-6);
  // the ordinate by another route: ln tan(pi/4 + x/2) = asinh(tan x)
  for (double lat : {-80.0, -30.0, 0.0, 45.0, 89.0})
    EXPECT_NEAR(MillerOrdinate(lat), std::asinh(std::tan(0.8 * lat * kPi / 180)), 1e-12);
}

TEST_F(ModelRecovery, MillerWithNoisyPoints) {
  map.SetModel(cmMillerCylindrical);
  map.Refit(true);
  AddPairedPoints(map, MillerTruth, 200, 0.0002, 4);
  ExpectRecovers(map, MillerTruth, 0.0003, 0.0003, 1);
}

// Conic about a pole pixel: latitude linear in the distance from the pole,
// longitude linear in the angle about it.
struct ConicTruth {
  double x0, y0, k3, d4, k5, d6;
  Geo operator()(double x, double y) const {
    const double r = std::hypot(x - x0, y - y0);
    return Geo{k3 * r + d4, k5 * std::atan((x - x0) / (y - y0)) + d6};
  }
};

// Poles near and far, straight above and off to the side, and a south
// pole below the map; exact points.
class ConicRecovery : public ModelRecovery, public ::testing::WithParamInterface<ConicTruth> {};

TEST_P(ConicRecovery, RecoversTheMappingToAPixel) {
  const ConicTruth truth = GetParam();
  map.SetModel(cmConicConformal);
  map.Refit(true);
  AddPairedPoints(map, truth, 30);
  const double distance = std::hypot(500 - truth.x0, 400 - truth.y0);
  // one pixel's worth of latitude and longitude
  ExpectRecovers(map, truth, std::fabs(truth.k3), std::fabs(truth.k5) / distance, 1);
  if (distance < 10000) {
    // curved enough parallels fix the pole itself, to a few pixels
    EXPECT_NEAR(map.ConicPars()[1], truth.x0, 5.0);
    EXPECT_NEAR(map.ConicPars()[2], truth.y0, 5.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Poles, ConicRecovery,
                         ::testing::Values(ConicTruth{400, -3000, -0.001, 53.5, 74.4, 10.0},
                                           ConicTruth{-2500, -150000, -0.0001, 65.0, 400.0, 10.0},
                                           ConicTruth{-40000, -1200000, -0.00001, 62.0, 3000.0,
                                                      -90.0},
                                           ConicTruth{500, 4000, 0.001, -48.0, -60.0, 20.0}));

TEST_F(ModelRecovery, ConicWithNoisyPoints) {
  const ConicTruth truth{600, -5000, -0.0008, 55.0, 60.0, 15.0};
  map.SetModel(cmConicConformal);
  map.Refit(true);
  // noise of a quarter pixel: 0.0008 deg of latitude, 0.011 of longitude a pixel
  AddPairedPoints(map, truth, 100, 0.0002, 3);
  ExpectRecovers(map, truth, 0.003, 0.003, 1);
}

TEST_F(ModelRecovery, UTMRecoversAGridAffineInEastingAndNorthing) {
  // pixels of 10 m, zone 32 north
  auto toUTM = [](double x, double y) { return std::pair{400000.0 + 10 * x, 5600000.0 - 10 * y}; };
  map.SetModel(cmUTM);
  map.Refit(true);
  map.SetUTMZone(32);
  map.SetUTMHemisphere(hemiNorth);
  for (const Platform::TPoint& p : SamplePixels(15, 8)) {
    const auto [e, n] = toUTM(p.X, p.Y);
    ASSERT_TRUE(map.AddCalibPoint(n, e, 32, hemiNorth, p.X, p.Y));
  }
  const PixelToGeo truth = [&](double x, double y) {
    const auto [e, n] = toUTM(x, y);
    Geo g{};
    ZELK_geobasics::UTMToLatLong(e, n, 32, false, gelWGS84, g.lat, g.lon);
    return g;
  };
  ExpectRecovers(map, truth, 1e-9, 1e-9, 0);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(map.CalcPixelCoordsUTM(5600000.0 - 10 * 123, 400000.0 + 10 * 456, x, y));
  EXPECT_EQ(x, 456);
  EXPECT_EQ(y, 123);
  double qx = -1, qy = -1;
  map.CalibQuality(qx, qy);
  EXPECT_NEAR(qx, 0.0, 1e-12);
  EXPECT_NEAR(qy, 0.0, 1e-12);
}

TEST_F(ModelRecovery, UTMConvertsAPositionInItsOwnZone) {
  map.SetModel(cmUTM);
  map.Refit(true);
  map.SetUTMZone(32);
  const Platform::TPoint pix[] = {{0, 0}, {1000, 0}, {0, 800}, {1000, 800}};
  for (const auto& p : pix)
    map.AddCalibPoint(5600000.0 - 10 * p.Y, 400000.0 + 10 * p.X, 32, hemiNorth, p.X, p.Y);
  // 13.5 E lies in zone 33: its zone-33 easting is used with the same grid
  int32_t zone = 0;
  double e = 0, n = 0;
  ZELK_geobasics::LatLongToUTM(50.2, 13.5, gelWGS84, zone, e, n);
  ASSERT_EQ(zone, 33);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(map.GeoToPixel(50.2, 13.5, x, y));
  EXPECT_EQ(x, Platform::RoundHalfEven((e - 400000.0) / 10));
  EXPECT_EQ(y, Platform::RoundHalfEven((5600000.0 - n) / 10));
}

// Parabolic interpolation: parallels y = 800 - 50 (lat - 40) + 1e-4 (x - 500)^2
// and meridians x = 100 + 60 lon + 1e-4 (y - 400)^2, sampled where the
// parabolas pass through whole pixels.
Geo ParabolicTruth(double x, double y) {
  const double lat = 40 + (800 + 1e-4 * (x - 500) * (x - 500) - y) / 50;
  const double lon = (x - 100 - 1e-4 * (y - 400) * (y - 400)) / 60;
  return Geo{lat, lon};
}

void DrawParabolicGraticule(TCalibration& map) {
  map.SetModel(cmParabolicIp);
  map.Refit(true);
  for (double lat : {40.0, 44.0, 48.0, 52.0, 56.0})
    for (int x = 100; x <= 900; x += 200)
      ASSERT_TRUE(map.AddCalibPoint(
          gtlParallel, lat, x,
          Platform::RoundHalfEven(800 - 50 * (lat - 40) + 1e-4 * (x - 500) * (x - 500))));
  for (double lon : {0.0, 4.0, 8.0, 12.0})
    for (int y = 0; y <= 800; y += 200)
      ASSERT_TRUE(map.AddCalibPoint(
          gtlMeridian, lon, Platform::RoundHalfEven(100 + 60 * lon + 1e-4 * (y - 400) * (y - 400)),
          y));
}

TEST_F(ModelRecovery, ParabolicInterpolationFollowsDrawnParabolas) {
  DrawParabolicGraticule(map);
  ASSERT_EQ(map.GratMat().NrOfRows(), 9);
  for (double lat : {41.0, 45.5, 50.0, 55.0}) {
    for (double lon : {1.0, 5.5, 10.0}) {
      SCOPED_TRACE(testing::Message() << lat << "," << lon);
      int32_t x = 0, y = 0;
      ASSERT_TRUE(map.GeoToPixel(lat, lon, x, y));
      bool v1 = false, v2 = false;
      EXPECT_NEAR(map.CalcLatitude(x, y, v1), lat, 0.03);  // half a pixel is 0.01 deg
      EXPECT_NEAR(map.CalcLongitude(x, y, v2), lon, 0.02);
      EXPECT_TRUE(v1 && v2);
      const Geo truth = ParabolicTruth(x, y);
      EXPECT_NEAR(truth.lat, lat, 0.03);
      EXPECT_NEAR(truth.lon, lon, 0.02);
    }
  }
  // pixel -> geographic is exact between the lines
  for (const auto& p : SamplePixels(30, 3)) {
    bool v = false;
    EXPECT_NEAR(map.CalcLatitude(p.X, p.Y, v), ParabolicTruth(p.X, p.Y).lat, 1e-9);
    EXPECT_NEAR(map.CalcLongitude(p.X, p.Y, v), ParabolicTruth(p.X, p.Y).lon, 1e-9);
  }
}

}  // namespace
