// Bookkeeping of calibration points: full tables, removal, restoring,
// clearing, the UTM zone and the model checks with their messages.
#include <gtest/gtest.h>

#include "support/brontal/zelkbase.h"
#include "test_map.h"

using namespace ZELK_geomap;
using geomap_test::TTestMap;
using ZELK_geobasics::hemiNorth;
using ZELK_geobasics::hemiSouth;

namespace {

const std::string kAddMsg =
    "Component \"GeoMap1\": current calibration model does not support this version of "
    "AddCalibPoint";
const std::string kRemoveMsg =
    "Component \"GeoMap1\": current calibration model does not support this version of "
    "RemoveCalibPoint";
const std::string kZoneMsg = "Component \"GeoMap1\": UTM zone parameter changed";

template <typename F>
void ExpectGeoMapError(F f, const std::string& message) {
  try {
    f();
    FAIL() << "no error raised";
  } catch (const EZELKGeoMapError& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
}

class CalibrationPoints : public ::testing::Test {
 protected:
  CalibrationPoints() { map.SetImageSize(1000, 800); }
  const TCalibData& cd() const { return map.CalibData(); }
  TTestMap map;
};

TEST_F(CalibrationPoints, GraticuleLinesFillUpToTwentyFiveOfTenPoints) {
  map.SetCalibModel(cmParabolicIp);
  for (int i = 0; i < 25; ++i) EXPECT_TRUE(map.AddCalibPoint(gtlParallel, i, 10, 10 * i));
  EXPECT_FALSE(map.AddCalibPoint(gtlMeridian, 0.0, 5, 5));  // a 26th line
  EXPECT_EQ(cd().NumCalLines, 25);
  // the same kind and value find the existing line
  for (int p = 2; p <= 10; ++p) EXPECT_TRUE(map.AddCalibPoint(gtlParallel, 3.0, 10, 30));
  EXPECT_EQ(cd().CalLines[4].NumPoints, 10);  // the same point, stored every time
  const TCalibLine before = cd().CalLines[4];
  EXPECT_FALSE(map.AddCalibPoint(gtlParallel, 3.0, 99, 99));
  EXPECT_EQ(cd().CalLines[4], before);
}

TEST_F(CalibrationPoints, PairedPointsFillUpToTwoHundred) {
  map.SetCalibModel(cmEquiRect);
  for (int i = 0; i < 200; ++i)
    ASSERT_TRUE(map.AddCalibPoint(50 + i * 0.001, 8 + (i % 17) * 0.01, i, 3 * i % 800));
  map.paints = 0;
  EXPECT_FALSE(map.AddCalibPoint(1.0, 1.0, 1, 1));
  EXPECT_EQ(cd().NumCalQuads, 200);
  EXPECT_EQ(map.paints, 1);  // repainted all the same
}

TEST_F(CalibrationPoints, RemovingTheNearestPairedPointMovesTheLastOneIn) {
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(50.0, 8.0, 0, 0);
  map.AddCalibPoint(50.1, 8.1, 100, 0);
  map.AddCalibPoint(50.2, 8.2, 0, 100);
  map.AddCalibPoint(50.3, 8.3, 100, 100);
  EXPECT_TRUE(map.RemoveCalibPoint(95, 3));
  ASSERT_EQ(cd().NumCalQuads, 3);
  EXPECT_EQ(cd().CalQuads[2], (TCalQuad{50.3, 8.3, 100, 100}));
  // equally near: the first stored goes
  EXPECT_TRUE(map.RemoveCalibPoint(50, 50));
  EXPECT_EQ(cd().CalQuads[1], (TCalQuad{50.2, 8.2, 0, 100}));
  map.RestoreLastDeletedCalPoint();
  ASSERT_EQ(cd().NumCalQuads, 3);
  EXPECT_EQ(cd().CalQuads[3], (TCalQuad{50.0, 8.0, 0, 0}));
  map.RestoreLastDeletedCalPoint();  // the slot is used up
  EXPECT_EQ(cd().NumCalQuads, 3);
}

TEST_F(CalibrationPoints, RemovingGraticulePoints) {
  map.SetCalibModel(cmParabolicIp);
  map.AddCalibPoint(gtlParallel, 40.0, 1, 1);
  map.AddCalibPoint(gtlParallel, 40.0, 2, 2);
  map.AddCalibPoint(gtlMeridian, 5.0, 3, 3);
  map.AddCalibPoint(gtlMeridian, 6.0, 4, 4);
  // not on that line
  EXPECT_FALSE(map.RemoveCalibPoint(gtlParallel, 40.0, 3, 3));
  EXPECT_FALSE(map.RemoveCalibPoint(gtlMeridian, 40.0, 1, 1));
  EXPECT_EQ(cd().NumCalLines, 3);
  EXPECT_TRUE(map.RemoveCalibPoint(gtlParallel, 40.0, 1, 1));
  EXPECT_EQ(cd().CalLines[1].NumPoints, 1);
  EXPECT_EQ(cd().CalLines[1].CalPoints[1], (Platform::TPoint{2, 2}));
  // the line's last point goes: the last line takes its slot
  EXPECT_TRUE(map.RemoveCalibPoint(gtlParallel, 40.0, 2, 2));
  ASSERT_EQ(cd().NumCalLines, 2);
  EXPECT_EQ(cd().CalLines[1].LineValue, 6.0);
  EXPECT_EQ(cd().CalLines[2].LineValue, 5.0);
  // the exact variant does not arm the restore slot
  map.RestoreLastDeletedCalPoint();
  EXPECT_EQ(cd().NumCalLines, 2);
}

TEST_F(CalibrationPoints, NearestGraticulePointIsRestoredOnItsLine) {
  map.SetCalibModel(cmParabolicIp);
  map.AddCalibPoint(gtlParallel, 40.0, 100, 100);
  map.AddCalibPoint(gtlMeridian, 5.0, 300, 300);
  EXPECT_TRUE(map.RemoveCalibPoint(110, 90));
  ASSERT_EQ(cd().NumCalLines, 1);
  EXPECT_EQ(cd().CalLines[1].LineType, gtlMeridian);
  map.RestoreLastDeletedCalPoint();
  ASSERT_EQ(cd().NumCalLines, 2);
  EXPECT_EQ(cd().CalLines[2].LineType, gtlParallel);
  EXPECT_EQ(cd().CalLines[2].LineValue, 40.0);
  EXPECT_EQ(cd().CalLines[2].CalPoints[1], (Platform::TPoint{100, 100}));
}

TEST_F(CalibrationPoints, RestoreIntoAnotherCalibration) {
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(47.0, 9.0, 10, 20);
  EXPECT_TRUE(map.RemoveCalibPoint(0, 0));
  map.ClearCalibData();  // keeps the restore slot
  map.SetCalibModel(cmBiquadraticPn);
  map.RestoreLastDeletedCalPoint();
  ASSERT_EQ(cd().NumCalQuads, 1);
  EXPECT_EQ(cd().CalQuads[1], (TCalQuad{47.0, 9.0, 10, 20}));
  // into a UTM calibration with its current zone
  EXPECT_TRUE(map.RemoveCalibPoint(0, 0));
  map.SetCalibModel(cmUTM);
  map.SetUTMZone(33);
  map.SetUTMHemisphere(hemiSouth);
  map.RestoreLastDeletedCalPoint();
  EXPECT_EQ(cd().NumCalQuads, 1);
  EXPECT_EQ(cd().UTMZone, 33);
  EXPECT_TRUE(cd().UTMSouth);
}

TEST_F(CalibrationPoints, UTMZoneAndHemisphereMustMatch) {
  map.SetCalibModel(cmUTM);
  EXPECT_EQ(map.GetUTMZone(), 0);
  map.ClearCalibData();
  EXPECT_EQ(map.GetUTMZone(), -1);
  ExpectGeoMapError([&] { map.AddCalibPoint(5e6, 5e5, 32, hemiNorth, 1, 1); }, kZoneMsg);
  map.SetUTMZone(61);
  map.SetUTMZone(0);
  EXPECT_EQ(map.GetUTMZone(), -1);
  map.SetUTMZone(32);
  EXPECT_TRUE(map.AddCalibPoint(5e6, 5e5, 32, hemiNorth, 1, 1));
  ExpectGeoMapError([&] { map.AddCalibPoint(5e6, 5e5, 32, hemiSouth, 2, 2); }, kZoneMsg);
  ExpectGeoMapError([&] { map.AddCalibPoint(5e6, 5e5, 31, hemiNorth, 2, 2); }, kZoneMsg);
  EXPECT_EQ(cd().NumCalQuads, 1);
  map.SetUTMHemisphere(hemiSouth);
  EXPECT_EQ(map.GetUTMHemisphere(), hemiSouth);
}

TEST_F(CalibrationPoints, ModelsRejectTheVariantsTheyDoNotUse) {
  map.SetCalibModel(cmUTM);
  ExpectGeoMapError([&] { map.AddCalibPoint(50.0, 8.0, 1, 1); }, kAddMsg);
  ExpectGeoMapError([&] { map.AddCalibPoint(gtlParallel, 50.0, 1, 1); }, kAddMsg);
  ExpectGeoMapError([&] { map.RemoveCalibPoint(gtlParallel, 50.0, 1, 1); }, kRemoveMsg);
  map.SetCalibModel(cmParabolicIp);
  ExpectGeoMapError([&] { map.AddCalibPoint(50.0, 8.0, 1, 1); }, kAddMsg);
  ExpectGeoMapError([&] { map.AddCalibPoint(5e6, 5e5, 0, hemiNorth, 1, 1); }, kAddMsg);
  map.SetCalibModel(cmUndefined);
  ExpectGeoMapError([&] { map.AddCalibPoint(50.0, 8.0, 1, 1); }, kAddMsg);
  for (TCalibModel m : {cmBiquadraticPn, cmConicConformal, cmMillerCylindrical, cmEquiRect}) {
    map.SetCalibModel(m);
    ExpectGeoMapError([&] { map.AddCalibPoint(gtlMeridian, 5.0, 1, 1); }, kAddMsg);
    ExpectGeoMapError([&] { map.RemoveCalibPoint(gtlMeridian, 5.0, 1, 1); }, kRemoveMsg);
  }
  EXPECT_EQ(cd().NumCalQuads, 0);
  EXPECT_EQ(cd().NumCalLines, 0);
  // the nearest-point variant accepts every model; undefined removes nothing
  map.SetCalibModel(cmUndefined);
  EXPECT_FALSE(map.RemoveCalibPoint(1, 1));
}

TEST_F(CalibrationPoints, ClearCalibDataKeepsModelNamesAndTheOtherFits) {
  map.SetCalibModel(cmMillerCylindrical);
  map.AddCalibPoint(50.0, 8.0, 100, 100);
  map.AddCalibPoint(51.0, 9.0, 200, 0);
  map.AddCalibPoint(49.0, 7.0, 0, 200);
  const TMillerPars miller = map.Calibration().MillercylPar();
  ASSERT_NE(miller[1][1], 0.0);
  TCalibData named = map.CalibData();
  named.MapFName = "map.jpg";
  named.Caption = "Map";
  map.SetCalibData(named);
  map.paints = 0;
  map.ClearCalibData();
  EXPECT_EQ(map.paints, 1);
  EXPECT_EQ(cd().NumCalQuads, 0);
  EXPECT_EQ(cd().Resolution, 0.0);
  EXPECT_EQ(cd().MapFName, "map.jpg");
  EXPECT_EQ(cd().Caption, "Map");
  EXPECT_EQ(map.CalibModel(), cmMillerCylindrical);
  EXPECT_EQ(map.Calibration().MillercylPar(), miller);
  EXPECT_EQ(map.Calibration().GratMat().NrOfColumns(), 5);
  EXPECT_EQ(map.Calibration().GratMat().NrOfRows(), 1);
}

// Counts index the record's fixed arrays: one out of range would let the
// next point operation write outside them.
TEST_F(CalibrationPoints, RecordsWithCountsOutsideTheirArraysAreRefused) {
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(50.0, 8.0, 1, 2);
  const TCalibData before = map.CalibData();
  const std::string prefix = "Component \"GeoMap1\": CalibData: number of ";
  const struct {
    int32_t lines, points, quads;
    std::string message;
  } cases[] = {
      {-1, 0, 1, "calibration lines (-1) outside 0..25"},
      {26, 0, 1, "calibration lines (26) outside 0..25"},
      {1, 11, 1, "points on a calibration line (11) outside 0..10"},
      {1, -1, 1, "points on a calibration line (-1) outside 0..10"},
      {0, 0, 201, "calibration quads (201) outside 0..200"},
      {0, 0, -1, "calibration quads (-1) outside 0..200"},
  };
  for (const auto& c : cases) {
    TCalibData bad = before;
    bad.NumCalLines = c.lines;
    bad.CalLines[1].NumPoints = c.points;
    bad.NumCalQuads = c.quads;
    ExpectGeoMapError([&] { map.SetCalibData(bad); }, prefix + c.message);
    EXPECT_EQ(map.CalibData(), before);
  }
  // a record at the limits is taken
  TCalibData full = before;
  full.NumCalLines = 25;
  full.CalLines[25].NumPoints = 10;
  full.NumCalQuads = 200;
  map.SetCalibData(full);
  EXPECT_FALSE(map.AddCalibPoint(1.0, 1.0, 1, 1));
}

TEST_F(CalibrationPoints, MillerNeedsThreePoints) {
  map.SetCalibModel(cmMillerCylindrical);
  map.AddCalibPoint(50.0, 8.0, 100, 100);
  map.AddCalibPoint(51.0, 9.0, 200, 0);
  EXPECT_EQ(map.Calibration().MillercylPar(), TMillerPars{});
}

TEST_F(CalibrationPoints, ConicKeepsItsParametersBelowThreePoints) {
  map.SetCalibModel(cmConicConformal);
  map.AddCalibPoint(50.0, 8.0, 100, 100);
  map.AddCalibPoint(51.0, 9.0, 200, 0);
  map.AddCalibPoint(49.5, 7.0, 0, 200);
  const TConicPars fitted = map.Calibration().ConicPars();
  EXPECT_NE(fitted[3], 0.0);
  EXPECT_TRUE(map.RemoveCalibPoint(0, 200));
  EXPECT_EQ(map.Calibration().ConicPars(), fitted);
}

TEST_F(CalibrationPoints, FewerPointsThanUnknownsGiveTheMinimumNormFit) {
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(50.0, 8.0, 100, 200);
  // one point: the affine maps reproduce it
  bool valid = false;
  EXPECT_NEAR(map.CalcLatitude(100, 200, valid), 50.0, 1e-9);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(map.CalcPixelCoords(50.0, 8.0, x, y));
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 200);
  map.SetCalibModel(cmBiquadraticPn);
  map.AddCalibPoint(51.0, 9.0, 300, 0);
  EXPECT_NEAR(map.CalcLongitude(300, 0, valid), 9.0, 1e-9);
}

TEST_F(CalibrationPoints, AbortedSolvesLeaveTheCoefficientsAtZero) {
  map.SetCalibModel(cmBiquadraticPn);
  for (int i = 0; i < 8; ++i)
    map.AddCalibPoint(50.0 + i, 8.0 + i * i * 0.1, 100 * i, 50 * i * i % 800);
  ASSERT_NE(map.Calibration().CalParsPLSP(), TBiquadPars{});
  Zelk_zelkbase::AbortMathProc = true;
  map.RecalcCalibration();
  Zelk_zelkbase::AbortMathProc = false;
  EXPECT_EQ(map.Calibration().CalParsPLSP(), TBiquadPars{});
  EXPECT_EQ(map.Calibration().CalParsSPPL(), TBiquadPars{});
}

TEST_F(CalibrationPoints, CollinearPixelsStillGiveFiniteCoefficients) {
  map.SetCalibModel(cmEquiRect);
  map.AddCalibPoint(50.0, 8.0, 10, 21);
  map.AddCalibPoint(50.1, 8.1, 20, 41);
  map.AddCalibPoint(50.3, 8.3, 40, 81);
  for (const auto& row : map.Calibration().EquRectPLSP())
    for (double v : row) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(CalibrationPoints, QualityIsTheRmsPixelResidual) {
  map.SetCalibModel(cmEquiRect);
  // three exact points and one that the affine fit cannot meet
  map.AddCalibPoint(50.0, 8.0, 0, 0);
  map.AddCalibPoint(50.0, 9.0, 100, 0);
  map.AddCalibPoint(49.0, 8.0, 0, 100);
  map.AddCalibPoint(49.0, 9.0, 110, 100);
  double qx = 0, qy = 0;
  map.CalibQuality(qx, qy);
  double sx = 0, sy = 0;
  for (int i = 1; i <= 4; ++i) {
    int32_t px = 0, py = 0;
    map.CalcPixelCoords(map.CalibData().CalQuads[i].Latitude, map.CalibData().CalQuads[i].Longitude,
                        px, py);
    sx += std::pow(px - map.CalibData().CalQuads[i].MapX, 2);
    sy += std::pow(py - map.CalibData().CalQuads[i].MapY, 2);
  }
  EXPECT_GT(qx, 1.0);
  EXPECT_DOUBLE_EQ(qx, std::sqrt(sx / 4));
  EXPECT_DOUBLE_EQ(qy, std::sqrt(sy / 4));
  // no model, no pairs
  map.SetCalibModel(cmUndefined);
  map.CalibQuality(qx, qy);
  EXPECT_EQ(qx, 0.0);
}

}  // namespace
