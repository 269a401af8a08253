// The ellipsoid tables and the conversions between ellipsoid parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "geobasics/geobasics.h"

namespace {

using namespace ZELK_geobasics;

TEST(EllipsoidTable, SampleRowsAsPublished) {
  struct Row {
    TGeoEllipsoid e;
    const char* id;
    const char* name;
    double a, b;
  };
  const Row rows[] = {
      {gelWGS84, "gelWGS84", "WGS 1984", 6378137.0, 6356752.314245},
      {gelClrk80RGS, "gelClrk80RGS", "Clarke 1880 RGS", 6378249.145, 6356514.86955},
      {gelBess41, "gelBess41", "Bessel 1841", 6377397.155, 6356078.96284},
      {gelEver30Ind, "gelEver30Ind", "Everest 1830 (India 1937 adj.)", 6377276.3452, 6356075.4133},
      {gelGRS80, "gelGRS80", "GRS 1980", 6378137.0, 6356752.31414},
      {gelAiry30, "gelAiry30", "Airy 1830", 6377563.396, 6356256.91},
      {gelSphere, "gelSphere", "Normal Sphere", 6370997.0, 6370997.0},
      {gelClrk80intfoot, "gelClrk80intfoot", "Clarke 1880 (international foot)", 6378306.3696,
       6356571.996},
      {gelInt24AuthSph, "gelInt24AuthSph", "International 1924 Authalic Sphere", 6371228.0,
       6371228.0},
      {gelPopVisSphere, "gelPopVisSphere", "Popular Visualisation Sphere", 6378137.0, 6378137.0},
      {gelPZ90, "gelPZ90", "PZ-90", 6378136.0, 6356751.361746},
      {gelNahrwan29, "gelNahrwan29", "Nahrwan 1929", 6378300.782, 6356566.42744},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    EXPECT_EQ(GeoEllipsoidId[r.e], r.id);
    EXPECT_EQ(GeoEllipsoidName[r.e], r.name);
    EXPECT_EQ(GeoEllipsoidData[r.e].SemiMajor, r.a);
    EXPECT_EQ(GeoEllipsoidData[r.e].SemiMinor, r.b);
  }
  EXPECT_EQ(static_cast<int>(gelNahrwan29), 60);
  EXPECT_EQ(sizeof(TGeoEllipsoid), 1u);
  EXPECT_EQ(sizeof(THemisphere), 1u);
  EXPECT_EQ(static_cast<int>(hemiSouth), 1);
}

TEST(EllipsoidTable, IdsAreUniqueAndOnlyTheFourSpheresAreRound) {
  std::set<std::string> ids(GeoEllipsoidId.begin(), GeoEllipsoidId.end());
  EXPECT_EQ(ids.size(), GeoEllipsoidCount);
  std::set<int> spheres;
  for (size_t i = 0; i < GeoEllipsoidCount; ++i) {
    EXPECT_GE(GeoEllipsoidData[i].SemiMajor, GeoEllipsoidData[i].SemiMinor) << GeoEllipsoidId[i];
    if (GeoEllipsoidData[i].SemiMajor == GeoEllipsoidData[i].SemiMinor)
      spheres.insert(static_cast<int>(i));
    // Every published flattening lies between 1/310 and 1/290.
    const double rf = RecipFlattening(static_cast<TGeoEllipsoid>(i));
    if (rf != 0.0) {
      EXPECT_GT(rf, 290.0) << GeoEllipsoidId[i];
      EXPECT_LT(rf, 310.0) << GeoEllipsoidId[i];
    }
  }
  EXPECT_EQ(spheres, (std::set<int>{gelSphere, gelAuthSph, gelInt24AuthSph, gelPopVisSphere}));
}

TEST(EllipsoidParameters, WGS84FlatteningAndEccentricity) {
  EXPECT_NEAR(RecipFlattening(gelWGS84), 298.257223563, 1e-8);
  EXPECT_EQ(RecipFlattening(gelSphere), 0.0);
  EXPECT_NEAR(GeoEllEccSquared(gelWGS84), 0.00669437999014, 1e-13);
  EXPECT_DOUBLE_EQ(GeoEllEccSquared(6356752.314245, 6378137.0), GeoEllEccSquared(gelWGS84));
  EXPECT_DOUBLE_EQ(GeoEllEccSquared(6378137.0, 6356752.314245), GeoEllEccSquared(gelWGS84));
  EXPECT_NEAR(GeoEllEccSquared(RecipFlattening(gelWGS84)), GeoEllEccSquared(gelWGS84), 1e-15);
  EXPECT_NEAR(RecipFlattening(GeoEllEccSquared(gelWGS84)), 298.257223563, 1e-6);
  // The two-axis form keeps its argument order.
  EXPECT_LT(RecipFlattening(6356752.314245, 6378137.0), 0.0);
  EXPECT_EQ(RecipFlattening(5.0, 5.0), 0.0);
}

TEST(EllipsoidParameters, SphereAndDegenerateValues) {
  EXPECT_EQ(GeoEllEccSquared(0.0), 0.0);
  EXPECT_EQ(RecipFlattening(0.0), 0.0);
  EXPECT_EQ(RecipFlattening(1.0), 1.0);
  EXPECT_EQ(EllipsoidMinAxFlat(6378137.0, 0.0), 6378137.0);
  EXPECT_EQ(EllipsoidMinAxEcc(6378137.0, 0.0), 6378137.0);
  EXPECT_EQ(EllipsoidMinAxEcc(6378137.0, 1.0), 0.0);
  EXPECT_NEAR(EllipsoidMinAxFlat(6378137.0, 298.257223563), 6356752.314245, 1e-6);
  EXPECT_NEAR(EllipsoidMinAxEcc(6378137.0, GeoEllEccSquared(gelGRS80)), 6356752.31414, 1e-6);
}

void ExpectError(const std::function<void()>& call, const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "no exception, expected " << message;
  } catch (const EZELKGeoBasicsError& e) {
    EXPECT_EQ(std::string(e.what()), message);
    // Callers may catch the family's base class.
    const Zelk_zelkbase::EZELKError* base = &e;
    EXPECT_NE(base, nullptr);
  }
}

TEST(EllipsoidParameters, InvalidArgumentsRaise) {
  ExpectError([] { RecipFlattening(1.5); }, "invalid eccentricity");
  ExpectError([] { RecipFlattening(-0.1); }, "invalid eccentricity");
  ExpectError([] { RecipFlattening(NAN); }, "invalid eccentricity");
  ExpectError([] { EllipsoidMinAxFlat(6378137.0, -1.0); }, "invalid reciprocal flattening");
  ExpectError([] { EllipsoidMinAxEcc(6378137.0, -0.001); }, "invalid eccentricity");
  // No real semi-minor axis exists above 1.
  ExpectError([] { EllipsoidMinAxEcc(6378137.0, 1.0001); }, "invalid eccentricity");
}

}  // namespace
