// PNG export with libpng (24-bit RGB). libpng reports errors by jumping back
// to the setjmp below; no object with a destructor lives in between.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/errors.h"
#include "platform/graphics.h"

namespace Platform {

namespace {

struct PngJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::FILE* file = nullptr;
  char message[256] = {0};
};

extern "C" void OnPngError(png_structp png, png_const_charp msg) {
  auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
  std::snprintf(job->message, sizeof job->message, "%s", msg);
  png_longjmp(png, 1);
}

extern "C" void OnPngWarning(png_structp, png_const_charp) {}

// Writes the rows prepared by the caller; false on a libpng error.
bool WriteRows(PngJob& job, int32_t width, int32_t height, png_bytep* rows) {
  if (setjmp(png_jmpbuf(job.png))) return false;
  png_init_io(job.png, job.file);
  png_set_IHDR(job.png, job.info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(job.png, job.info, 3780, 3780, PNG_RESOLUTION_METER);  // 96 dpi
  png_write_info(job.png, job.info);
  png_write_image(job.png, rows);
  png_write_end(job.png, job.info);
  return true;
}

}  // namespace

void SavePngToFile(TBitmap& bitmap, const std::string& fileName) {
  if (bitmap.Empty()) throw EInOutError("Cannot save an empty bitmap", kStreamWriteError);
  std::vector<uint8_t> pixels(size_t(bitmap.Width()) * bitmap.Height() * 3);
  std::vector<png_bytep> rows(size_t(bitmap.Height()));
  std::vector<uint32_t> s(size_t(bitmap.Width()));
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* d = pixels.data() + size_t(y) * bitmap.Width() * 3;
    bitmap.ReadRow(y, 0, bitmap.Width(), s.data());
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      d[3 * x] = GetRValue(s[x]);
      d[3 * x + 1] = GetGValue(s[x]);
      d[3 * x + 2] = GetBValue(s[x]);
    }
    rows[size_t(y)] = d;
  }
  PngJob job;
  job.file = std::fopen(fileName.c_str(), "wb");
  if (job.file == nullptr) RaiseInOutError("create", fileName, errno);
  job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, OnPngError, OnPngWarning);
  if (job.png != nullptr) job.info = png_create_info_struct(job.png);
  bool ok = job.png != nullptr && job.info != nullptr &&
            WriteRows(job, bitmap.Width(), bitmap.Height(), rows.data());
  png_destroy_write_struct(&job.png, &job.info);
  bool closed = std::fclose(job.file) == 0;
  if (!ok || !closed) {
    std::remove(fileName.c_str());
    throw EInOutError("PNG writing failed for " + fileName + ": " +
                          (job.message[0] ? job.message : "cannot write the file"),
                      kStreamWriteError);
  }
}

}  // namespace Platform
