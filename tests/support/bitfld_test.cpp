#include <gtest/gtest.h>

#include "support/brontal/dstruct.h"
#include "support/brontal/zelkbase.h"

using Zelk_dstruct::TBitFld;
using Zelk_zelkbase::EZELKError;

TEST(BitFld, IndicesOneToSizeStartClear) {
  TBitFld b;
  b.SetSize(10);
  b.Clear();
  for (int i = 1; i <= 10; ++i) EXPECT_FALSE(b.GetBit(i));
  b.SetBit(10, true);
  b.SetBit(1, true);
  EXPECT_TRUE(b.GetBit(10));
  EXPECT_TRUE(b.GetBit(1));
  EXPECT_FALSE(b.GetBit(9));
  EXPECT_EQ(b.CountSet(), 2);
  b.SetBit(10, false);
  EXPECT_FALSE(b.GetBit(10));
  b.Clear();
  EXPECT_EQ(b.CountSet(), 0);
}

TEST(BitFld, Bounds) {
  TBitFld b(10);
  EXPECT_FALSE(b.GetBit(0));
  EXPECT_FALSE(b.GetBit(11));
  EXPECT_FALSE(b.GetBit(-1));
  EXPECT_THROW(b.SetBit(0, true), EZELKError);
  EXPECT_THROW(b.SetBit(11, true), EZELKError);
  EXPECT_THROW(b.SetBit(-2147483647 - 1, true), EZELKError);
  EXPECT_THROW(b.SetSize(-1), EZELKError);
  TBitFld empty;
  EXPECT_FALSE(empty.GetBit(1));
  EXPECT_THROW(empty.SetBit(1, true), EZELKError);
}

TEST(BitFld, AcrossWordsAndResizing) {
  TBitFld b(200);
  for (int i = 1; i <= 200; i += 7) b.SetBit(i, true);
  for (int i = 1; i <= 200; ++i) EXPECT_EQ(b.GetBit(i), (i - 1) % 7 == 0) << i;
  b.SetSize(65);  // keeps 1..65
  EXPECT_TRUE(b.GetBit(64));
  EXPECT_FALSE(b.GetBit(71));
  b.SetSize(200);  // bits dropped by shrinking come back clear
  EXPECT_TRUE(b.GetBit(64));
  EXPECT_FALSE(b.GetBit(71));
  EXPECT_FALSE(b.GetBit(197));
  EXPECT_EQ(b.CountSet(), 10);
}
