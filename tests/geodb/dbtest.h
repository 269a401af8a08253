// Shared helpers of the database tests: a database in a fresh directory and
// the names of its seven files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "geodb/geodb.h"
#include "platform/platform.h"
#include "tests/testsupport/testsupport.h"

namespace geodb_test {

using namespace ZELK_GeoDB;

inline const char* const kExtensions[7] = {".zelkgds", ".zelkgdd", ".zelkgi0", ".zelkgi1",
                                           ".zelkgi2", ".zelkgi3", ".zelkgi4"};

constexpr TDateTime kDate = 45000.5;  // 15 March 2023, noon

class DbTest : public ::testing::Test {
 protected:
  DbTest() : db(std::make_unique<TGeoDB>(nullptr)) {
    db->SetName("GeoDB1");
    base = dir.File("world");
  }
  void Open() { db->SetGDBName(base); }
  void Reopen() {
    db->SetGDBName("");
    db->SetGDBName(base);
  }
  std::string File(const std::string& ext) const { return base + ext; }
  std::vector<uint8_t> Bytes(const std::string& ext) const {
    return lumivar_test::ReadBytes(File(ext));
  }

  int32_t Town(const std::string& name, float lat, float lon, int32_t tag = 0) {
    return db->AddTown(name, kDate, 0, TSCoords{lat, lon}, 0, 0, tag);
  }
  int32_t River(const std::string& name, const TgdbPolygon& points) {
    return db->AddRiver(name, points, kDate, 0, 0, 0, 0, 0, 0, 0, 0);
  }
  // Progress reports are collected here once Track() was called.
  void Track() {
    db->SetOnPercentDone([this](Platform::TObject*, int32_t p) { progress.push_back(p); });
  }

  lumivar_test::TempDir dir;
  std::unique_ptr<TGeoDB> db;
  std::string base;
  std::vector<int32_t> progress;
};

}  // namespace geodb_test
