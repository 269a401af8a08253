// The landmarks of the map control:
//   - a full paint of a 1920 x 1080 control with 1000000 landmarks in its
//     list, thinned to the default 20000 drawn, without and with captions,
//     beside a memcpy of the frame it shows;
//   - loading a landmark file of 100000 landmarks into the control, beside
//     the element scanner alone reading the same file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench_frame.h"
#include "geomap/geomap.h"
#include "platform/platform.h"
#include "support/brontal/tagscan.h"
#include "support/ostrine/math2.h"

using namespace ZELK_geomap;

namespace {

using lumivar_bench::BM_FrameMemcpy;
using lumivar_bench::kFrameH;
using lumivar_bench::kFrameW;

constexpr int32_t kPaintLandmarks = 1000000;
constexpr int kFileLandmarks = 100000;

// A 2000 x 1500 picture over 10 x 7.5 degrees shown at full size, with the
// landmarks spread evenly over the window (1250 x 800 of them), each with
// a short caption when asked.
void LoadCrowdedMap(TGeoMap& map, bool captions) {
  lumivar_bench::ShowLargestPicture(map, 50.0, 5.0, 42.5, 15.0);
  TLandMark lm = map.LandMarkDefault();
  const double degPerPixel = 10.0 / 2000;
  for (int32_t i = 0; i < kPaintLandmarks; ++i) {
    const int32_t col = i % 1250, row = i / 1250;
    lm.Latitude = 50.0 - (row * kFrameH / 800.0 + 0.5) * degPerPixel;
    lm.Longitude = 5.0 + (col * kFrameW / 1250.0 + 0.5) * degPerPixel;
    if (captions) lm.Caption.Text = "LM" + std::to_string(i);
    map.AddLandMark(lm);
  }
}

void BM_PaintLandmarks(benchmark::State& state) {
  const bool captions = state.range(0) != 0;
  TGeoMap map(nullptr);
  LoadCrowdedMap(map, captions);
  map.SetSuppressPaint(false);
  int64_t drawn = 0;
  map.SetOnDrawLandmark([&](Platform::TObject*, bool&, Platform::TCanvas*, const Platform::TPoint&,
                            const TLandMark&) { ++drawn; });
  Zelk_math2::RandSeedBRandom(1);
  for (auto _ : state) map.SetClassVisibility(255, false);  // repaints, changing nothing
  state.SetLabel(std::to_string(map.NumLandMarks()) + " landmarks, " +
                 std::to_string(drawn / int64_t(state.iterations())) + " drawn" +
                 (captions ? " with captions" : ""));
}
BENCHMARK(BM_PaintLandmarks)->Arg(0)->Arg(1)->ArgName("captions")->Unit(benchmark::kMillisecond);

BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMillisecond);

// A file as an application writes one: every attribute, a caption on every
// third landmark.
std::string gLandmarkFile;  // written on first use, removed at the end

const std::string& LandmarkFile() {
  if (!gLandmarkFile.empty()) return gLandmarkFile;
  gLandmarkFile = "/tmp/lumivar_landmarks_bench_" + std::to_string(::getpid()) + ".xml";
  Platform::TTextFile f;
  f.Rewrite(gLandmarkFile);
  f.WriteLn("<?xml version=\"1.0\"?>");
  f.WriteLn("<gmlandmarks sig=\"Korvane\" vers=\"1.0\" id=\"bench\">");
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> lat(46.0, 49.0), lon(9.5, 17.0);
  for (int i = 0; i < kFileLandmarks; ++i) {
    char line[640];
    std::snprintf(line, sizeof line,
                  "<landmark lat=\"%.6f\" long=\"%.6f\" alti=\"%d\" class=\"%d\" usertag=\"%d\" "
                  "element=\"%s\" size=\"%d\" colorfg=\"00FF0000\" colorbg=\"00FFFFFF\" "
                  "transp=\"FALSE\" dir=\"%d\" leng=\"10\" id=\"LM%06d\" date=\"20240131%06d\" "
                  "captext=\"%s\" capsize=\"8\" capfnm=\"MS Sans Serif\" capfgcol=\"00000000\" "
                  "capbgcol=\"00FFFFFF\" captransp=\"TRUE\" capdir=\"0\" capdx=\"0\" capdy=\"8\" "
                  "caphal=\"2\" capval=\"0\" capfst=\"0000\" />",
                  lat(rng), lon(rng), i % 3000, i % 7, i, i % 2 ? "cross" : "triangle", 5 + i % 5,
                  (i * 37) % 360, i, 100000 + i % 100000,
                  i % 3 == 0 ? "Gipfelkreuz &amp; H\xC3\xBCtte" : "");
    f.WriteLn(Platform::Utf8ToCp1252(line));
  }
  f.WriteLn("</gmlandmarks>");
  f.Close();
  return gLandmarkFile;
}

// Into a control whose painting is held back: the reading alone.
void BM_LoadLandMarks(benchmark::State& state) {
  const std::string& file = LandmarkFile();
  TGeoMap map(nullptr);
  map.SetSuppressPaint(true);
  for (auto _ : state)
    if (!map.LoadLandMarks(file, "BENCH")) state.SkipWithError("no section");
  if (map.NumLandMarks() != kFileLandmarks) state.SkipWithError("landmarks missing");
  state.SetItemsProcessed(state.iterations() * kFileLandmarks);
}
BENCHMARK(BM_LoadLandMarks)->Unit(benchmark::kMillisecond);

// The reader alone, into a vector, for the share of the control.
void BM_ReaderAlone(benchmark::State& state) {
  const std::string& file = LandmarkFile();
  std::vector<TLandMark> landmarks;
  for (auto _ : state) {
    landmarks.clear();
    ReadLandMarksFromFile(file, "BENCH", [&](const TLandMark& lm) { landmarks.push_back(lm); });
    benchmark::DoNotOptimize(landmarks.data());
  }
  if (landmarks.size() != size_t(kFileLandmarks)) state.SkipWithError("landmarks missing");
  state.SetItemsProcessed(state.iterations() * kFileLandmarks);
}
BENCHMARK(BM_ReaderAlone)->Unit(benchmark::kMillisecond);

// The peer: the element scanner alone over the same file.
void BM_TagScannerAlone(benchmark::State& state) {
  const std::string& file = LandmarkFile();
  int64_t elements = 0;
  for (auto _ : state) {
    Platform::TTextFile f;
    f.Reset(file);
    std::string line, attributes, content;
    while (f.ReadLn(line) && line.find("<gmlandmarks") == std::string::npos) {
    }
    while (Zelk_tagscan::ReadNextTagInTextFile(f, XMLTagViews, xtInvalid, attributes, content) !=
           xtInvalid)
      ++elements;
    benchmark::DoNotOptimize(elements);
  }
  state.SetItemsProcessed(state.iterations() * kFileLandmarks);
}
BENCHMARK(BM_TagScannerAlone)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!gLandmarkFile.empty()) std::remove(gLandmarkFile.c_str());
  return 0;
}
