// The ellipsoid tables and the conversions between ellipsoid parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "geobasics/geobasics.h"
#include "tests/testsupport/testsupport.h"

namespace {

using namespace ZELK_geobasics;

// Every row against the reference file (tests/data/ellipsoids.txt), field by
// field; the axes are decimal texts that must give the stored doubles exactly.
TEST(EllipsoidTable, EveryRowAsInTheReferenceFile) {
  const auto rows = lumivar_test::ReadTable(LUMIVAR_TEST_DATA "/ellipsoids.txt");
  ASSERT_EQ(rows.size(), GeoEllipsoidCount);
  for (const auto& r : rows) {
    ASSERT_EQ(r.size(), 5u);
    const size_t e = std::stoul(r[0]);
    ASSERT_LT(e, GeoEllipsoidCount);
    SCOPED_TRACE(r[1]);
    EXPECT_EQ(GeoEllipsoidId[e], r[1]);
    EXPECT_EQ(GeoEllipsoidName[e], r[2]);
    EXPECT_EQ(GeoEllipsoidData[e].SemiMajor, std::strtod(r[3].c_str(), nullptr));
    EXPECT_EQ(GeoEllipsoidData[e].SemiMinor, std::strtod(r[4].c_str(), nullptr));
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

TEST(EllipsoidParameters, ValuesPastTheLastEllipsoidRaise) {
  const auto bad = static_cast<TGeoEllipsoid>(GeoEllipsoidCount);
  ExpectError([&] { GeoEllEccSquared(bad); }, "invalid ellipsoid");
  ExpectError([&] { RecipFlattening(bad); }, "invalid ellipsoid");
  ExpectError(
      [&] {
        int32_t zone;
        double e, n;
        LatLongToUTM(10, 10, static_cast<TGeoEllipsoid>(255), zone, e, n);
      },
      "invalid ellipsoid");
  ExpectError(
      [&] {
        double x, y, z;
        GeoToCartesian(10, 10, 0, bad, x, y, z);
      },
      "invalid ellipsoid");
}

}  // namespace
