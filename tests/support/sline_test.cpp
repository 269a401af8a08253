#include "support/ostrine/sline.h"

#include <gtest/gtest.h>

#include <limits>

using Zelk_sline::TSLine;

namespace {

struct Clip {
  bool hit;
  double x1, y1, x2, y2;
};

// Clips the line through two points to the box (0, 0)..(100, 50).
Clip ClipThrough(double ax, double ay, double bx, double by) {
  TSLine line;
  line.LineFrom2Points(ax, ay, bx, by);
  Clip c{false, -1, -1, -1, -1};
  c.hit = line.ClipBox(0, 0, 100, 50, c.x1, c.y1, c.x2, c.y2);
  return c;
}

}  // namespace

TEST(SLine, LineCrossingTheBox) {
  Clip c = ClipThrough(-10, 25, 110, 25);
  ASSERT_TRUE(c.hit);
  EXPECT_DOUBLE_EQ(c.x1, 0);
  EXPECT_DOUBLE_EQ(c.y1, 25);
  EXPECT_DOUBLE_EQ(c.x2, 100);
  EXPECT_DOUBLE_EQ(c.y2, 25);

  // y = x + 40 enters through the left edge and leaves through y = 50.
  c = ClipThrough(-20, 20, 30, 70);
  ASSERT_TRUE(c.hit);
  EXPECT_NEAR(c.x1, 0, 1e-12);
  EXPECT_NEAR(c.y1, 40, 1e-12);
  EXPECT_NEAR(c.x2, 10, 1e-12);
  EXPECT_NEAR(c.y2, 50, 1e-12);

  // Both points inside: the line still runs from edge to edge.
  c = ClipThrough(10, 5, 20, 10);
  ASSERT_TRUE(c.hit);
  EXPECT_NEAR(c.x1, 0, 1e-12);
  EXPECT_NEAR(c.y1, 0, 1e-12);
  EXPECT_NEAR(c.x2, 100, 1e-12);
  EXPECT_NEAR(c.y2, 50, 1e-12);
}

TEST(SLine, EndPointsFollowTheLinesDirection) {
  Clip c = ClipThrough(110, 25, -10, 25);
  ASSERT_TRUE(c.hit);
  EXPECT_DOUBLE_EQ(c.x1, 100);
  EXPECT_DOUBLE_EQ(c.x2, 0);
  // A vertical line, upwards.
  c = ClipThrough(30, 80, 30, 60);
  ASSERT_TRUE(c.hit);
  EXPECT_DOUBLE_EQ(c.x1, 30);
  EXPECT_DOUBLE_EQ(c.y1, 50);
  EXPECT_DOUBLE_EQ(c.x2, 30);
  EXPECT_DOUBLE_EQ(c.y2, 0);
}

TEST(SLine, LineTouchingTheBox) {
  // x + y = 0 meets the box only in its corner (0, 0).
  Clip c = ClipThrough(-10, 10, 10, -10);
  ASSERT_TRUE(c.hit);
  EXPECT_DOUBLE_EQ(c.x1, 0);
  EXPECT_DOUBLE_EQ(c.y1, 0);
  EXPECT_DOUBLE_EQ(c.x2, 0);
  EXPECT_DOUBLE_EQ(c.y2, 0);
  // Along the top edge: the whole edge.
  c = ClipThrough(-5, 0, 5, 0);
  ASSERT_TRUE(c.hit);
  EXPECT_DOUBLE_EQ(c.x1, 0);
  EXPECT_DOUBLE_EQ(c.x2, 100);
  EXPECT_DOUBLE_EQ(c.y1, 0);
  EXPECT_DOUBLE_EQ(c.y2, 0);
  // Along the right edge.
  c = ClipThrough(100, -3, 100, 3);
  ASSERT_TRUE(c.hit);
  EXPECT_DOUBLE_EQ(c.y1, 0);
  EXPECT_DOUBLE_EQ(c.y2, 50);
}

TEST(SLine, LineMissingTheBox) {
  EXPECT_FALSE(ClipThrough(0, 60, 10, 60).hit);    // parallel, below
  EXPECT_FALSE(ClipThrough(-1, 0, -1, 10).hit);    // parallel, left
  EXPECT_FALSE(ClipThrough(200, 0, 0, 200).hit);   // x + y = 200
  EXPECT_FALSE(ClipThrough(110, 0, 120, 10).hit);  // y = x - 110 passes the corner
}

TEST(SLine, BoxCornersInAnyOrderAndTRectDouble) {
  TSLine line;
  ASSERT_TRUE(line.LineFrom2Points(-10, 25, 110, 25));
  double a, b, c, d;
  ASSERT_TRUE(line.ClipBox(100, 50, 0, 0, a, b, c, d));
  EXPECT_DOUBLE_EQ(a, 0);
  EXPECT_DOUBLE_EQ(c, 100);
  Zelk_zelkbase::TRectDouble box{0, 0, 100, 50};
  ASSERT_TRUE(line.ClipBox(box, a, b, c, d));
  EXPECT_DOUBLE_EQ(b, 25);
}

TEST(SLine, NoLineThroughOnePoint) {
  TSLine line;
  EXPECT_FALSE(line.LineFrom2Points(3, 4, 3, 4));
  double a = 7, b = 7, c = 7, d = 7;
  EXPECT_FALSE(line.ClipBox(0, 0, 10, 10, a, b, c, d));
  EXPECT_EQ(a, 7);
  EXPECT_FALSE(line.LineFrom2Points(0, 0, 1, std::numeric_limits<double>::quiet_NaN()));
}
