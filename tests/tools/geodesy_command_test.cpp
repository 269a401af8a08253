// The geodesy commands of the tool: numbers in, numbers out, one line each.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/testsupport/testsupport.h"

namespace {

using lumivar_test::RunTool;

std::vector<double> Numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<double> v;
  std::string word;
  while (in >> word) {
    try {
      v.push_back(std::stod(word));
    } catch (...) {
    }
  }
  return v;
}

TEST(GeodesyCommand, UtmForwardAndInverseAgree) {
  // St. Stephen's Cathedral, Vienna: zone 33, band U.
  const auto fwd = RunTool("utm 48.2085 16.3731");
  ASSERT_EQ(fwd.status, 0) << fwd.out;
  EXPECT_EQ(fwd.out.substr(0, 4), "33U ");
  const auto en = Numbers(fwd.out.substr(4));
  ASSERT_EQ(en.size(), 2u);
  EXPECT_NEAR(en[0], 602012.6, 0.5);
  EXPECT_NEAR(en[1], 5340386.0, 0.5);
  const auto inv =
      RunTool("utm-inverse " + std::to_string(en[0]) + " " + std::to_string(en[1]) + " 33");
  ASSERT_EQ(inv.status, 0) << inv.out;
  const auto ll = Numbers(inv.out);
  ASSERT_EQ(ll.size(), 2u);
  EXPECT_NEAR(ll[0], 48.2085, 1e-7);
  EXPECT_NEAR(ll[1], 16.3731, 1e-7);
}

TEST(GeodesyCommand, UpsAtThePoles) {
  EXPECT_EQ(RunTool("ups 90 0").out, "2000000.000 2000000.000\n");
  const auto south = RunTool("ups-inverse 2000000 2000000 --south");
  ASSERT_EQ(south.status, 0);
  EXPECT_NEAR(Numbers(south.out).at(0), -90.0, 1e-12);
}

TEST(GeodesyCommand, ReadsOneSetPerLineFromStandardInput) {
  const auto r = RunTool("utm", "48.2085 16.3731\n-33.8568 151.2153\n");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("33U "), std::string::npos);
  EXPECT_NE(r.out.find("56H "), std::string::npos);  // Sydney Opera House
}

TEST(GeodesyCommand, BadInputGivesOneLineAndNonZeroExit) {
  const auto range = RunTool("utm 100 0");
  EXPECT_NE(range.status, 0);
  EXPECT_EQ(std::count(range.out.begin(), range.out.end(), '\n'), 1);
  EXPECT_EQ(range.out.rfind("lumivar: ", 0), 0u);
  EXPECT_NE(RunTool("utm 47 abc").status, 0);
  EXPECT_NE(RunTool("helmert 183").status, 0);
  EXPECT_NE(RunTool("no-such-command").status, 0);
}

TEST(GeodesyCommand, TablesAndSearches) {
  const auto aut = RunTool("countries AUT");
  ASSERT_EQ(aut.status, 0);
  EXPECT_NE(aut.out.find("Vienna"), std::string::npos);
  const auto ell = RunTool("ellipsoids");
  EXPECT_NE(ell.out.find("6378137"), std::string::npos);
  EXPECT_NE(RunTool("datums zzzz-no-such").status, 0);
}

}  // namespace
