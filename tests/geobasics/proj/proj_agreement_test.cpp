// Agreement with PROJ: the Helmert transformation as a PROJ pipeline of the
// same computation, and ellipsoid definitions of PROJ's list.
#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <random>
#include <string>

#include "geobasics/geobasics.h"
#include "tests/geobasics/proj/helmert_pipeline.h"

namespace {

using namespace ZELK_geobasics;

class ProjAgreement : public ::testing::Test {
 protected:
  void SetUp() override { ctx = proj_context_create(); }
  void TearDown() override { proj_context_destroy(ctx); }
  PJ_CONTEXT* ctx = nullptr;
};

using lumivar_test::ProjHelmertPipeline;

TEST_F(ProjAgreement, HelmertTransformOfADozenDatumPairs) {
  const int pairs[][2] = {{183, 86},  {13, 269},  {37, 59}, {24, 86},   {52, 269},  {86, 217},
                          {219, 127}, {250, 101}, {33, 80}, {268, 269}, {239, 238}, {255, 235}};
  std::mt19937_64 rng(9);
  std::uniform_real_distribution<double> lat(-85, 85), lon(-180, 180), h(-100, 3000);
  for (const auto& p : pairs) {
    PJ* pj = proj_create(ctx, ProjHelmertPipeline(p[0], p[1]).c_str());
    ASSERT_NE(pj, nullptr) << ProjHelmertPipeline(p[0], p[1]);
    for (int i = 0; i < 200; ++i) {
      const double la = lat(rng), lo = lon(rng), hh = h(rng);
      double la2, lo2, h2;
      ASSERT_EQ(HelmertTransform(p[0], la, lo, hh, p[1], la2, lo2, h2), 0);
      const PJ_COORD c = proj_trans(pj, PJ_FWD, proj_coord(lo, la, hh, 0));
      // 0.01 mm is about 1e-10 degrees.
      ASSERT_NEAR(la2, c.lpzt.phi, 1e-10) << p[0] << "->" << p[1];
      ASSERT_NEAR(lo2, c.lpzt.lam, 1e-10 / std::cos(la * M_PI / 180)) << p[0] << "->" << p[1];
      ASSERT_NEAR(h2, c.lpzt.z, 1e-5) << p[0] << "->" << p[1];
    }
    proj_destroy(pj);
  }
}

TEST_F(ProjAgreement, EllipsoidsOfPROJsList) {
  struct Pair {
    TGeoEllipsoid e;
    const char* projId;
    double tolerance;  // on b, metres: PROJ gives some only by 1/f
  };
  const Pair pairs[] = {
      {gelWGS84, "WGS84", 1e-6},    {gelGRS80, "GRS80", 1e-6},
      {gelWGS72, "WGS72", 1e-3},    {gelWGS66, "WGS66", 1e-3},
      {gelWGS60, "WGS60", 1e-3},    {gelClrk66, "clrk66", 0},
      {gelBess41, "bessel", 1e-3},  {gelBess41Nam, "bess_nam", 1e-3},
      {gelNewInt67, "new_intl", 0}, {gelInt24, "intl", 1e-3},
      {gelAiry30, "airy", 1e-3},  // 6356256.909 in PROJ, rounded to .910 here
      {gelKrass40, "krass", 1e-3},  {gelHough60, "hough", 1e-3},
      {gelHelm06, "helmert", 1e-3}, {gelFish60, "fschr60", 1e-3},
      {gelFish68, "fschr68", 1e-3}, {gelModifFish60, "fschr60m", 1e-3},
      {gelSAm69, "aust_SA", 1e-3},  {gelClrk80IGN, "clrk80ign", 1e-3},
      {gelEver56, "evrst56", 1e-3}, {gelEver48, "evrst48", 1e-3},
      {gelEver69, "evrst69", 1e-3}, {gelSphere, "sphere", 0},
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.projId);
    const std::string def = std::string("+proj=longlat +type=crs +ellps=") + p.projId;
    PJ* crs = proj_create(ctx, def.c_str());
    ASSERT_NE(crs, nullptr);
    PJ* ell = proj_get_ellipsoid(ctx, crs);
    ASSERT_NE(ell, nullptr);
    double a, b, rf;
    int computed;
    ASSERT_TRUE(proj_ellipsoid_get_parameters(ctx, ell, &a, &b, &computed, &rf));
    EXPECT_EQ(GeoEllipsoidData[p.e].SemiMajor, a);
    EXPECT_NEAR(GeoEllipsoidData[p.e].SemiMinor, b, p.tolerance);
    proj_destroy(ell);
    proj_destroy(crs);
  }
}

}  // namespace
