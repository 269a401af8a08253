// Straight lines in the plane, clipped to boxes.
#pragma once

#include "support/brontal/zelkbase.h"

namespace Zelk_sline {

// An unbounded straight line, kept as a point on it and a direction.
class TSLine {
 public:
  // The line through (x1, y1) and (x2, y2), directed from the first point
  // to the second. False, and no line, when the two points coincide or are
  // not finite.
  bool LineFrom2Points(double x1, double y1, double x2, double y2);
  bool IsValid() const { return FValid; }

  // Clips the line to the closed box between (Left, Top) and (Right, Bottom)
  // (either corner order). True when the line meets the box; the end points
  // of the part inside then come in the line's direction. A line that only
  // touches the box at a corner gives twice that corner; one lying on an
  // edge gives that edge. False, end points untouched, otherwise.
  bool ClipBox(double Left, double Top, double Right, double Bottom, double& x1, double& y1,
               double& x2, double& y2) const;
  bool ClipBox(const Zelk_zelkbase::TRectDouble& Box, double& x1, double& y1, double& x2,
               double& y2) const {
    return ClipBox(Box.left, Box.top, Box.right, Box.bottom, x1, y1, x2, y2);
  }

 private:
  double FX = 0, FY = 0, FDx = 0, FDy = 0;
  bool FValid = false;
};

}  // namespace Zelk_sline
