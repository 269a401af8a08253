#include "support/ostrine/matrix.h"

#include <gtest/gtest.h>

#include "support/brontal/zelkbase.h"
#include "support/ostrine/vector.h"

using Zelk_matrix::TMatrix;
using Zelk_vector::TVector;
using Zelk_zelkbase::EZELKError;

TEST(Matrix, ResizeGivesColumnsThenRows) {
  TMatrix m;
  m.Resize(5, 3);
  EXPECT_EQ(m.NrOfColumns(), 5);
  EXPECT_EQ(m.NrOfRows(), 3);
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(m.GetVal(c, r), 0.0);
  m.SetVal(5, 3, 7.25);
  m.SetVal(1, 1, -1);
  EXPECT_EQ(m.GetVal(5, 3), 7.25);
  EXPECT_EQ(m.GetVal(1, 1), -1);
  // Row by row in one block: (5, 3) is the last element.
  EXPECT_EQ(m.Data()[14], 7.25);
}

TEST(Matrix, ResizeKeepsTheCommonPart) {
  TMatrix m(2, 2);
  m.SetVal(1, 1, 11);
  m.SetVal(2, 1, 21);
  m.SetVal(1, 2, 12);
  m.SetVal(2, 2, 22);
  m.Resize(3, 1);
  EXPECT_EQ(m.GetVal(1, 1), 11);
  EXPECT_EQ(m.GetVal(2, 1), 21);
  EXPECT_EQ(m.GetVal(3, 1), 0);
  m.Resize(1, 3);
  EXPECT_EQ(m.GetVal(1, 1), 11);
  EXPECT_EQ(m.GetVal(1, 2), 0);
  EXPECT_EQ(m.GetVal(1, 3), 0);
}

TEST(Matrix, IndicesOutsideRaise) {
  TMatrix m(5, 1);
  EXPECT_THROW(m.GetVal(0, 1), EZELKError);
  EXPECT_THROW(m.GetVal(6, 1), EZELKError);
  EXPECT_THROW(m.GetVal(1, 2), EZELKError);
  EXPECT_THROW(m.SetVal(1, 0, 1), EZELKError);
  EXPECT_THROW(m.SetVal(-2147483647 - 1, 1, 1), EZELKError);
  EXPECT_THROW(m.Resize(-1, 2), EZELKError);
  TMatrix empty;
  EXPECT_THROW(empty.GetVal(1, 1), EZELKError);
}

TEST(Matrix, FillAndClone) {
  TMatrix a(3, 4), b(1, 1);
  a.Fill(2.5);
  a.SetVal(2, 3, 9);
  b.Clone(a);
  ASSERT_EQ(b.NrOfColumns(), 3);
  ASSERT_EQ(b.NrOfRows(), 4);
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(b.GetVal(c, r), (c == 2 && r == 3) ? 9 : 2.5);
  a.SetVal(1, 1, 0);  // the clone is a copy, not a view
  EXPECT_EQ(b.GetVal(1, 1), 2.5);
}

TEST(Vector, PlainStorageFromOne) {
  TVector v;
  v.SetVecSize(3);
  EXPECT_EQ(v.NrOfElem(), 3);
  v.SetVal(1, 1.5);
  v.SetVal(3, -4);
  EXPECT_EQ(v.GetVal(1), 1.5);
  EXPECT_EQ(v.GetVal(2), 0);
  EXPECT_EQ(v.GetVal(3), -4);
  v.SetVecSize(4);
  EXPECT_EQ(v.GetVal(3), -4);
  EXPECT_EQ(v.GetVal(4), 0);
  EXPECT_THROW(v.GetVal(0), EZELKError);
  EXPECT_THROW(v.SetVal(5, 1), EZELKError);
  EXPECT_THROW(v.SetVecSize(-1), EZELKError);
  v.Fill(3);
  TVector w;
  w.Clone(v);
  EXPECT_EQ(w.NrOfElem(), 4);
  EXPECT_EQ(w.GetVal(4), 3);
}
