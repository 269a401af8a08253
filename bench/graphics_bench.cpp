// The graphics paths the map control runs at every paint, each beside the
// plain operation that bounds it: memcpy of the same frame for CopyRect and a
// bare libjpeg-turbo decode of the same file for the JPEG reader.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/jpeg.h"

using namespace Platform;

namespace {

std::unique_ptr<TBitmap> Picture(int32_t w, int32_t h, TPixelFormat f) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(f);
  b->SetSize(w, h);
  std::vector<uint32_t> row(static_cast<size_t>(w));
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x)
      row[size_t(x)] =
          b->ReduceColor(RGB(uint8_t(x ^ y), uint8_t(x * 3 + y), uint8_t((x * y) >> 4)));
    b->WriteRow(y, 0, w, row.data());
  }
  return b;
}

// 1920 x 1080 at two bytes per pixel (as a 15-bit bitmap holds it) and at
// four (as the 24- and 32-bit bitmaps hold it).
void MemcpyFrame(benchmark::State& state) {
  std::vector<uint8_t> a(size_t(1920) * 1080 * size_t(state.range(0)), 1), b(a.size(), 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(a.size()));
}
BENCHMARK(MemcpyFrame)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

void CopyRect15BitFrame(benchmark::State& state) {
  auto src = Picture(1920, 1080, pf15bit);
  auto dst = Picture(1920, 1080, pf15bit);
  TRect r = Rect(0, 0, 1920, 1080);
  for (auto _ : state) {
    dst->Canvas()->CopyRect(r, src->Canvas(), r);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(CopyRect15BitFrame)->Unit(benchmark::kMillisecond);

// The same block taken out of a larger off-screen picture, as a paint does:
// rows are no longer back to back.
void CopyRect15BitBlockOfLargerPicture(benchmark::State& state) {
  auto src = Picture(2000, 1200, pf15bit);
  auto dst = Picture(1920, 1080, pf15bit);
  TRect r = Rect(0, 0, 1920, 1080);
  for (auto _ : state) {
    dst->Canvas()->CopyRect(r, src->Canvas(), Rect(40, 60, 1960, 1140));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(CopyRect15BitBlockOfLargerPicture)->Unit(benchmark::kMillisecond);

void HalftoneHalf1500x2000(benchmark::State& state) {
  auto src = Picture(1500, 2000, pf24bit);
  auto dst = Picture(750, 1000, pf24bit);
  SetStretchBltMode(dst->Canvas()->Handle(), HALFTONE);
  for (auto _ : state) {
    StretchBlt(dst->Canvas()->Handle(), 0, 0, 750, 1000, src->Canvas()->Handle(), 0, 0, 1500, 2000,
               SRCCOPY);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(HalftoneHalf1500x2000)->Unit(benchmark::kMillisecond);

void NearestDouble960x540(benchmark::State& state) {
  auto src = Picture(1920, 1080, pf24bit);
  auto dst = Picture(1920, 1080, pf24bit);
  SetStretchBltMode(dst->Canvas()->Handle(), COLORONCOLOR);
  for (auto _ : state) {
    StretchBlt(dst->Canvas()->Handle(), 0, 0, 1920, 1080, src->Canvas()->Handle(), 480, 270, 960,
               540, SRCCOPY);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(NearestDouble960x540)->Unit(benchmark::kMillisecond);

void LineTo20000Segments(benchmark::State& state) {
  auto b = Picture(1920, 1080, pf24bit);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clRed);
  for (auto _ : state) {
    uint32_t seed = 12345;
    for (int i = 0; i < 20000; ++i) {
      seed = seed * 1103515245u + 12345u;
      int32_t x = int32_t(seed >> 8) % 1880 + 20, y = int32_t(seed >> 3) % 1040 + 20;
      int32_t dx = int32_t(seed % 35) - 17;
      int32_t dy = (i & 1) ? 17 : -17;  // 17 pixels along the longer axis
      c->MoveTo(x, y);
      if (i & 2)
        c->LineTo(x + dy, y + dx);
      else
        c->LineTo(x + dx, y + dy);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(LineTo20000Segments)->Unit(benchmark::kMillisecond);

const std::string& JpegFile() {
  static const std::string name = [] {
    std::string n = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                    "/lumivar_bench_1500x2000.jpg";
    auto b = Picture(1500, 2000, pf24bit);
    TJPEGImage j;
    j.Assign(b.get());
    j.SaveToFile(n);
    return n;
  }();
  return name;
}

std::vector<uint8_t> ReadFile(const std::string& name) {
  std::vector<uint8_t> data;
  if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    data.resize(size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(data.data(), 1, data.size(), f) != data.size()) data.clear();
    std::fclose(f);
  }
  return data;
}

void JpegBareDecode1500x2000(benchmark::State& state) {
  const std::string& name = JpegFile();
  for (auto _ : state) {
    std::vector<uint8_t> data = ReadFile(name);
    jpeg_decompress_struct c;
    jpeg_error_mgr e;
    c.err = jpeg_std_error(&e);
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&c, TRUE);
    c.out_color_space = JCS_RGB;
    jpeg_start_decompress(&c);
    std::vector<uint8_t> pixels(size_t(c.output_width) * c.output_height * 3);
    while (c.output_scanline < c.output_height) {
      JSAMPROW row = pixels.data() + size_t(c.output_scanline) * c.output_width * 3;
      jpeg_read_scanlines(&c, &row, 1);
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(JpegBareDecode1500x2000)->Unit(benchmark::kMillisecond);

void JpegLoadToBitmap1500x2000(benchmark::State& state) {
  const std::string& name = JpegFile();
  TBitmap b;
  for (auto _ : state) {
    TJPEGImage j;
    j.LoadFromFile(name);
    b.Assign(&j);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
}
BENCHMARK(JpegLoadToBitmap1500x2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
