#include "geomap/fits.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "geomap/solver.h"
#include "support/ostrine/ostrine.h"

namespace ZELK_geomap {

namespace {

constexpr double kPi = std::numbers::pi;

// Solves one least-squares system per right-hand side over the same design
// matrix; each solve consumes its matrix, so each gets a fresh copy. Rows
// whose solve fails stay as they are (zero).
template <size_t M, typename Terms, typename Rhs1, typename Rhs2>
void FitTwoRows(const TCalQuad* quads, int32_t n, Terms terms, Rhs1 rhs1, Rhs2 rhs2,
                Platform::OneBased<Platform::OneBased<double, M>, 2>& out) {
  TMatrix design(static_cast<int32_t>(M), n);
  TVector b1(n), b2(n);
  for (int32_t i = 0; i < n; ++i) {
    terms(quads[i], design.Data() + static_cast<size_t>(i) * M);
    b1.Data()[i] = rhs1(quads[i]);
    b2.Data()[i] = rhs2(quads[i]);
  }
  TMatrix copy = design;
  TVector c;
  bool singular = false;
  if (SVDLeastSquares(design, b1, c, nullptr, singular))
    for (size_t k = 1; k <= M; ++k) out[1][k] = c.Data()[k - 1];
  if (SVDLeastSquares(copy, b2, c, nullptr, singular))
    for (size_t k = 1; k <= M; ++k) out[2][k] = c.Data()[k - 1];
}

template <typename Pars>
void ZeroPars(Pars& p) {
  for (auto& row : p)
    for (double& v : row) v = 0.0;
}

double Lat(const TCalQuad& q) {
  return q.Latitude;
}
double Long(const TCalQuad& q) {
  return q.Longitude;
}
double MapX(const TCalQuad& q) {
  return q.MapX;
}
double MapY(const TCalQuad& q) {
  return q.MapY;
}

// Least-squares line y = k x + d through the pairs entered into fit. False
// when the fit is degenerate (fewer than two distinct x) and gives no
// finite line.
bool LinearFit(Zelk_math2::TCurveFit& fit, double& k, double& d) {
  double quality = 0;
  fit.CalcLinFit(k, d, quality);
  return std::isfinite(k) && std::isfinite(d);
}

}  // namespace

void FitGraticuleLine(const TCalibLine& line, double& c0, double& c1, double& c2) {
  Zelk_math2::TCurveFit fit;
  fit.Init();
  const bool parallel = line.LineType == gtlParallel;
  for (int32_t p = 1; p <= line.NumPoints; ++p) {
    const Platform::TPoint& pt = line.CalPoints[p];
    if (parallel)
      fit.EnterStatValue(pt.X, pt.Y);
    else
      fit.EnterStatValue(pt.Y, pt.X);
  }
  double quality = 0;
  fit.CalcParabolFit(c0, c1, c2, quality);
}

double MillerOrdinate(double latitude) {
  return std::log(std::tan(latitude * 0.4 / 180.0 * kPi + kPi / 4.0));
}

void FitEquiRect(const TCalQuad* quads, int32_t n, TAffinePars& PLSP, TAffinePars& SPPL) {
  ZeroPars(PLSP);
  ZeroPars(SPPL);
  if (n < 1) return;
  FitTwoRows(
      quads, n,
      [](const TCalQuad& q, double* row) {
        row[0] = 1.0;
        row[1] = q.MapX;
        row[2] = q.MapY;
      },
      Lat, Long, PLSP);
  FitTwoRows(
      quads, n,
      [](const TCalQuad& q, double* row) {
        row[0] = 1.0;
        row[1] = q.Latitude;
        row[2] = q.Longitude;
      },
      MapX, MapY, SPPL);
}

void FitBiquadratic(const TCalQuad* quads, int32_t n, TBiquadPars& PLSP, TBiquadPars& SPPL) {
  ZeroPars(PLSP);
  ZeroPars(SPPL);
  if (n < 1) return;
  auto quadratic = [](double u, double v, double* row) {
    row[0] = 1.0;
    row[1] = u;
    row[2] = v;
    row[3] = u * u;
    row[4] = u * v;
    row[5] = v * v;
  };
  FitTwoRows(
      quads, n, [&](const TCalQuad& q, double* row) { quadratic(q.MapX, q.MapY, row); }, Lat, Long,
      PLSP);
  FitTwoRows(
      quads, n, [&](const TCalQuad& q, double* row) { quadratic(q.Latitude, q.Longitude, row); },
      MapX, MapY, SPPL);
}

void FitMillerCylindrical(const TCalQuad* quads, int32_t n, TMillerPars& Par) {
  if (n < 3) return;
  Zelk_math2::TCurveFit fit;
  fit.Init();
  for (int32_t i = 0; i < n; ++i)
    fit.EnterStatValue(quads[i].Longitude / 180.0 * kPi, quads[i].MapX);
  double k = 0, d = 0;
  if (LinearFit(fit, k, d)) {
    Par[2][1] = k;
    Par[2][2] = d;
  }
  fit.Init();
  for (int32_t i = 0; i < n; ++i)
    fit.EnterStatValue(MillerOrdinate(quads[i].Latitude), quads[i].MapY);
  if (LinearFit(fit, k, d)) {
    Par[1][1] = k;
    Par[1][2] = d;
  }
}

namespace {

// Fits latitude against the distance from the pole (x0, y0) and longitude
// against the angle about it; returns the score e_lat^2 + e_long^2, or
// infinity when a fit is degenerate.
class TConicPoleFitter {
 public:
  TConicPoleFitter(const TCalQuad* quads, int32_t n)
      : FQuads(quads), FN(n), FR(static_cast<size_t>(n)), FTheta(static_cast<size_t>(n)) {}

  double Fit(double x0, double y0, TConicPars& pars) {
    pars[1] = x0;
    pars[2] = y0;
    FFit.Init();
    for (int32_t i = 0; i < FN; ++i) {
      const double dx = FQuads[i].MapX - x0, dy = FQuads[i].MapY - y0;
      FR[i] = std::sqrt(dx * dx + dy * dy);
      FFit.EnterStatValue(FR[i], FQuads[i].Latitude);
    }
    double k = 0, d = 0;
    if (!LinearFit(FFit, k, d)) return kInf;
    pars[3] = k;
    pars[4] = d;
    double sumLat = 0;
    for (int32_t i = 0; i < FN; ++i) {
      const double e = FQuads[i].Latitude - k * FR[i] - d;
      sumLat += e * e;
    }
    FFit.Init();
    for (int32_t i = 0; i < FN; ++i) {
      const double dy = FQuads[i].MapY - y0;
      if (dy == 0.0) continue;
      FTheta[i] = std::atan((FQuads[i].MapX - x0) / dy);
      FFit.EnterStatValue(FTheta[i], FQuads[i].Longitude);
    }
    if (!LinearFit(FFit, k, d)) return kInf;
    pars[5] = k;
    pars[6] = d;
    double sumLong = 0;
    for (int32_t i = 0; i < FN; ++i) {
      if (FQuads[i].MapY - y0 == 0.0) continue;
      const double e = FQuads[i].Longitude - k * FTheta[i] - d;
      sumLong += e * e;
    }
    // e_lat^2 + e_long^2, both divided by the number of all points
    return sumLat / FN + sumLong / FN;
  }

 private:
  static constexpr double kInf = HUGE_VAL;
  const TCalQuad* FQuads;
  int32_t FN;
  std::vector<double> FR, FTheta;
  Zelk_math2::TCurveFit FFit;
};

}  // namespace

namespace {

// Axes of the pole search: the second points along the latitude gradient of
// the points (towards or away from the pole), the first across it. For a
// map whose parallels run along the rows this is the image's own x and y.
void PoleSearchAxes(const TCalQuad* quads, int32_t n, double e1[2], double e2[2]) {
  e1[0] = 1;
  e1[1] = 0;
  e2[0] = 0;
  e2[1] = 1;
  TMatrix design(3, n);
  TVector lat(n), c;
  for (int32_t i = 0; i < n; ++i) {
    double* row = design.Data() + static_cast<size_t>(i) * 3;
    row[0] = 1.0;
    row[1] = quads[i].MapX;
    row[2] = quads[i].MapY;
    lat.Data()[i] = quads[i].Latitude;
  }
  bool singular = false;
  if (!SVDLeastSquares(design, lat, c, nullptr, singular)) return;
  double gx = c.GetVal(2), gy = c.GetVal(3);
  const double len = std::hypot(gx, gy);
  if (!(len > 0) || !std::isfinite(len)) return;
  gx /= len;
  gy /= len;
  if (gy < 0 || (gy == 0 && gx < 0)) {
    gx = -gx;
    gy = -gy;
  }
  e2[0] = gx;
  e2[1] = gy;
  e1[0] = gy;
  e1[1] = -gx;
}

}  // namespace

void FitConicConformal(const TCalQuad* quads, int32_t n, int32_t mapImgWidth, int32_t mapImgHeight,
                       TConicPars& Pars) {
  if (n < 3) return;
  int32_t minX = mapImgWidth, maxX = 0, minY = mapImgHeight, maxY = 0;
  for (int32_t i = 0; i < n; ++i) {
    minX = std::min(minX, quads[i].MapX);
    maxX = std::max(maxX, quads[i].MapX);
    minY = std::min(minY, quads[i].MapY);
    maxY = std::max(maxY, quads[i].MapY);
  }
  // 64-bit sums: pixel positions near the int32 limits must not overflow
  int64_t cx = (int64_t{maxX} + minX) / 2, cy = (int64_t{maxY} + minY) / 2;
  // A grid along the image axes couples the pole's distance with the tilt
  // of the parallels; far poles of tilted maps then end up on the wrong
  // side. Searching along and across the latitude gradient keeps the two
  // apart.
  double e1[2], e2[2];
  PoleSearchAxes(quads, n, e1, e2);
  TConicPoleFitter fitter(quads, n);
  TConicPars candidate = Pars, best = Pars;
  double bestScore = 1e10;
  bool found = false;
  for (int64_t step = 1000000; step > 0; step /= 2) {
    for (int64_t i = -2; i <= 2; ++i) {
      for (int64_t j = -2; j <= 2; ++j) {
        const double di = static_cast<double>(i * step), dj = static_cast<double>(j * step);
        const double x0 =
            static_cast<double>(cx + Platform::RoundHalfEven64(di * e1[0] + dj * e2[0]));
        const double y0 =
            static_cast<double>(cy + Platform::RoundHalfEven64(di * e1[1] + dj * e2[1]));
        const double score = fitter.Fit(x0, y0, candidate);
        if (score < bestScore) {
          bestScore = score;
          best = candidate;
          found = true;
        }
      }
    }
    if (!found) return;  // nothing finite to refine: keep the previous parameters
    cx = Platform::RoundHalfEven64(best[1]);
    cy = Platform::RoundHalfEven64(best[2]);
  }
  Pars = best;
}

}  // namespace ZELK_geomap
