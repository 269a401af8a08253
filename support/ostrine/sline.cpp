#include "support/ostrine/sline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Zelk_sline {

bool TSLine::LineFrom2Points(double x1, double y1, double x2, double y2) {
  FValid = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2) &&
           (x1 != x2 || y1 != y2);
  FX = x1;
  FY = y1;
  FDx = x2 - x1;
  FDy = y2 - y1;
  return FValid;
}

namespace {

// Narrows the parameter range [t0, t1] of p(t) = p0 + t * dir to the slab
// lo <= p <= hi; false when nothing of the line lies in it.
bool ClipToSlab(double p0, double dir, double lo, double hi, double& t0, double& t1) {
  if (dir == 0) return p0 >= lo && p0 <= hi;
  double ta = (lo - p0) / dir, tb = (hi - p0) / dir;
  if (ta > tb) std::swap(ta, tb);
  t0 = std::max(t0, ta);
  t1 = std::min(t1, tb);
  return t0 <= t1;
}

}  // namespace

bool TSLine::ClipBox(double Left, double Top, double Right, double Bottom, double& x1, double& y1,
                     double& x2, double& y2) const {
  if (!FValid || std::isnan(Left) || std::isnan(Top) || std::isnan(Right) || std::isnan(Bottom))
    return false;
  const double xLo = std::min(Left, Right), xHi = std::max(Left, Right);
  const double yLo = std::min(Top, Bottom), yHi = std::max(Top, Bottom);
  double t0 = -std::numeric_limits<double>::infinity();
  double t1 = std::numeric_limits<double>::infinity();
  if (!ClipToSlab(FX, FDx, xLo, xHi, t0, t1) || !ClipToSlab(FY, FDy, yLo, yHi, t0, t1))
    return false;
  // Snap to the box: the end points lie on its edges, and rounding must not
  // move them outside.
  x1 = std::clamp(FX + t0 * FDx, xLo, xHi);
  y1 = std::clamp(FY + t0 * FDy, yLo, yHi);
  x2 = std::clamp(FX + t1 * FDx, xLo, xHi);
  y2 = std::clamp(FY + t1 * FDy, yLo, yHi);
  return true;
}

}  // namespace Zelk_sline
