// JPEG decoding and encoding with libjpeg-turbo, and the size of a BMP or
// JPEG file from its header. The library reports fatal
// errors through a callback that must not return; ours jumps back to the
// routine that called into the library, which then raises a C++ exception
// after the library's state is released. Nothing with a destructor lives
// between the jump and its target.
#include "platform/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

// jpeglib.h needs FILE and size_t declared first
#include <jerror.h>
#include <jpeglib.h>

#include "platform/bmplayout.h"
#include "platform/errors.h"

namespace Platform {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void OnJpegError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

// Warnings about damaged data (premature end, bad Huffman codes) would leave
// grey blocks in the picture; treat them as errors. Stray bytes between
// markers are harmless and common, so those pass.
extern "C" void OnJpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code != JWRN_EXTRANEOUS_DATA) OnJpegError(cinfo);
}

void InitErrors(ErrorManager& e) {
  jpeg_std_error(&e.pub);
  e.pub.error_exit = OnJpegError;
  e.pub.emit_message = OnJpegMessage;
  e.message[0] = 0;
}

[[noreturn]] void Fail(const char* what, const char* detail) {
  throw EInOutError(std::string(what) + ": " + detail, kStreamReadError);
}

// ---------------------------------------------------------------- decoding

struct DecodeJob {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  const uint8_t* data;
  size_t size;
};

// Reads the header from job.data, or from the file when one is given (then
// only the bytes up to the first scan are read); false on a library error
// (message in job.err).
bool StartDecoding(DecodeJob& job, std::FILE* file = nullptr) {
  job.cinfo.err = &job.err.pub;
  InitErrors(job.err);
  if (setjmp(job.err.jump)) return false;
  jpeg_create_decompress(&job.cinfo);
  // the library's own buffers (whole-image coefficients of progressive
  // files) stay bounded as well
  job.cinfo.mem->max_memory_to_use = 512L * 1024 * 1024;
  if (file)
    jpeg_stdio_src(&job.cinfo, file);
  else
    jpeg_mem_src(&job.cinfo, job.data, static_cast<unsigned long>(job.size));
  if (jpeg_read_header(&job.cinfo, TRUE) != JPEG_HEADER_OK) {
    std::strcpy(job.err.message, "no image in the data");
    return false;
  }
  return true;
}

struct RowSink {
  TBitmap* bitmap;
  const TProgressEvent* progress;
  TObject* sender;
  std::exception_ptr failure;
};

void ReportRow(RowSink& sink, int32_t row, int32_t height) {
  if (!*sink.progress || (row & 63) != 0) return;
  try {
    (*sink.progress)(sink.sender, psRunning, uint8_t(int64_t(row) * 100 / height), false,
                     Rect(0, 0, sink.bitmap->Width(), row), "");
  } catch (...) {
    sink.failure = std::current_exception();
  }
}

// Decodes the rows into the bitmap (already sized); false on a library error.
bool DecodeRows(DecodeJob& job, RowSink& sink) {
  if (setjmp(job.err.jump)) return false;
  jpeg_decompress_struct& c = job.cinfo;
  bool cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
  c.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
  jpeg_start_decompress(&c);
  int32_t width = static_cast<int32_t>(c.output_width),
          height = static_cast<int32_t>(c.output_height);
  while (c.output_scanline < c.output_height) {
    int32_t y = static_cast<int32_t>(c.output_scanline);
    uint32_t* row = sink.bitmap->ColorRow(y);  // a 24-bit picture
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
    jpeg_read_scanlines(&c, rows, 1);
    if (cmyk) {
      // Adobe writes CMYK inverted: each byte is 255 - ink
      auto* p = reinterpret_cast<uint8_t*>(row);
      for (int32_t x = 0; x < width; ++x) {
        uint32_t k = p[4 * x + 3];
        row[x] = RGB(uint8_t(p[4 * x] * k / 255), uint8_t(p[4 * x + 1] * k / 255),
                     uint8_t(p[4 * x + 2] * k / 255));
      }
    } else {
      for (int32_t x = 0; x < width; ++x) row[x] &= 0xFFFFFF;
    }
    ReportRow(sink, y, height);
    if (sink.failure) return true;
  }
  jpeg_finish_decompress(&c);
  return true;
}

// ---------------------------------------------------------------- encoding

struct EncodeJob {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  // a row of a 16-bit picture widened to colours (the others are read in
  // place); kept here, out of reach of the library's long jumps
  std::vector<uint32_t> widened;
};

bool Encode(EncodeJob& job, const TBitmap& source, int32_t quality,
            TJPEGChromaSubsampling subsampling, RowSink& sink) {
  if (IsWordFormat(source.PixelFormat())) job.widened.resize(size_t(source.Width()));
  job.cinfo.err = &job.err.pub;
  InitErrors(job.err);
  if (setjmp(job.err.jump)) return false;
  jpeg_create_compress(&job.cinfo);
  jpeg_mem_dest(&job.cinfo, &job.out, &job.outSize);
  jpeg_compress_struct& c = job.cinfo;
  c.image_width = static_cast<JDIMENSION>(source.Width());
  c.image_height = static_cast<JDIMENSION>(source.Height());
  c.input_components = 4;
  c.in_color_space = JCS_EXT_RGBX;  // the fourth byte is ignored
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  // luma factors set the ratio; the chroma components stay at 1x1
  c.comp_info[0].h_samp_factor = subsampling == jcs444 ? 1 : 2;
  c.comp_info[0].v_samp_factor = subsampling == jcs420 ? 2 : 1;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    int32_t y = static_cast<int32_t>(c.next_scanline);
    const uint32_t* colors = job.widened.data();
    if (job.widened.empty())
      colors = source.ColorRow(y);
    else
      source.ReadRow(y, 0, source.Width(), job.widened.data());
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(colors))};
    jpeg_write_scanlines(&c, rows, 1);
    ReportRow(sink, y, source.Height());
    if (sink.failure) return true;
  }
  jpeg_finish_compress(&c);
  return true;
}

// ---------------------------------------------------------------- sizes

bool JpegSizeFromHeader(std::FILE* file, int32_t& width, int32_t& height) {
  DecodeJob job{};
  struct Guard {
    jpeg_decompress_struct* c;
    ~Guard() { jpeg_destroy_decompress(c); }
  } guard{&job.cinfo};
  if (!StartDecoding(job, file) || job.cinfo.image_width == 0 || job.cinfo.image_height == 0)
    return false;
  // the library refuses sides beyond 65500 pixels, so both fit
  width = static_cast<int32_t>(job.cinfo.image_width);
  height = static_cast<int32_t>(job.cinfo.image_height);
  return true;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void Notify(const TProgressEvent& p, TObject* sender, TProgressStage stage, uint8_t percent,
            int32_t w, int32_t h) {
  if (p) p(sender, stage, percent, false, Rect(0, 0, w, h), "");
}

}  // namespace

void DecodeJpeg(const uint8_t* data, size_t size, TBitmap& dest, const TProgressEvent& progress,
                TObject* sender) {
  if (size == 0) Fail("JPEG data are not valid", "the data are empty");
  DecodeJob job{};
  job.data = data;
  job.size = size;
  struct Guard {
    jpeg_decompress_struct* c;
    ~Guard() { jpeg_destroy_decompress(c); }
  } guard{&job.cinfo};
  if (!StartDecoding(job)) Fail("JPEG data are not valid", job.err.message);
  uint64_t w = job.cinfo.image_width, h = job.cinfo.image_height;
  // headers lie: refuse absurd sizes before allocating
  if (w == 0 || h == 0 || w > 65500 || h > 65500 || w * h * 4 > kMaxPixelBufferBytes)
    Fail("JPEG image refused",
         ("size " + std::to_string(w) + " x " + std::to_string(h) + " is too large").c_str());
  TBitmap picture;
  picture.Allocate(int32_t(w), int32_t(h), pf24bit);
  Notify(progress, sender, psStarting, 0, int32_t(w), int32_t(h));
  RowSink sink{&picture, &progress, sender, nullptr};
  if (!DecodeRows(job, sink)) Fail("JPEG data are not valid", job.err.message);
  if (sink.failure) std::rethrow_exception(sink.failure);
  Notify(progress, sender, psEnding, 100, int32_t(w), int32_t(h));
  dest.SwapPicture(picture);
  if (dest.OnChange()) dest.OnChange()(&dest);
}

std::vector<uint8_t> EncodeJpeg(const TBitmap& source, int32_t quality,
                                const TProgressEvent& progress, TObject* sender,
                                TJPEGChromaSubsampling subsampling) {
  if (source.Empty())
    throw EInOutError("Cannot encode an empty picture as JPEG", kStreamWriteError);
  EncodeJob job{};
  struct Guard {
    EncodeJob* j;
    ~Guard() {
      jpeg_destroy_compress(&j->cinfo);
      std::free(j->out);
    }
  } guard{&job};
  Notify(progress, sender, psStarting, 0, source.Width(), source.Height());
  RowSink sink{const_cast<TBitmap*>(&source), &progress, sender, nullptr};
  if (!Encode(job, source, quality, subsampling, sink))
    throw EInOutError(std::string("JPEG encoding failed: ") + job.err.message, kStreamWriteError);
  if (sink.failure) std::rethrow_exception(sink.failure);
  std::vector<uint8_t> out(job.out, job.out + job.outSize);
  Notify(progress, sender, psEnding, 100, source.Width(), source.Height());
  return out;
}

bool ReadImageSize(const std::string& FileName, int32_t& Width, int32_t& Height) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(FileName.c_str(), "rb"));
  if (!file) return false;
  uint8_t start[BmpLayout::kSizePrefix];
  const size_t got = std::fread(start, 1, sizeof start, file.get());
  if (got >= 2 && start[0] == 'B' && start[1] == 'M')
    return got == sizeof start && BmpLayout::SizeFromHeader(start, Width, Height);
  if (got >= 2 && start[0] == 0xFF && start[1] == 0xD8) {  // start of image
    std::rewind(file.get());
    return JpegSizeFromHeader(file.get(), Width, Height);
  }
  return false;
}

// ---------------------------------------------------------------- TJPEGImage

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::ReadHeader() {
  DecodeJob job{};
  job.data = FData.data();
  job.size = FData.size();
  struct Guard {
    jpeg_decompress_struct* c;
    ~Guard() { jpeg_destroy_decompress(c); }
  } guard{&job.cinfo};
  if (FData.empty()) Fail("JPEG data are not valid", "the data are empty");
  if (!StartDecoding(job)) Fail("JPEG data are not valid", job.err.message);
  FWidth = static_cast<int32_t>(job.cinfo.image_width);
  FHeight = static_cast<int32_t>(job.cinfo.image_height);
  FGrayscale = job.cinfo.num_components == 1;
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  int64_t n = stream.Size() - stream.Position();
  std::vector<uint8_t> data(static_cast<size_t>(n > 0 ? n : 0));
  if (n > 0) stream.ReadBuffer(data.data(), n);
  FData.swap(data);
  FBitmap.reset();
  try {
    ReadHeader();
  } catch (...) {
    FData.clear();
    FWidth = FHeight = 0;
    throw;
  }
}

void TJPEGImage::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TJPEGImage::JPEGNeeded() {
  if (!FData.empty() || !FBitmap) return;
  FData = EncodeJpeg(*FBitmap, FQuality, FOnProgress, this, FSubsampling);
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  auto b = std::make_unique<TBitmap>();
  DecodeJpeg(FData.data(), FData.size(), *b, FOnProgress, this);
  FBitmap = std::move(b);
}

void TJPEGImage::SaveToStream(TStream& stream) {
  JPEGNeeded();
  if (FData.empty()) throw EInOutError("Cannot save an empty JPEG image", kStreamWriteError);
  stream.WriteBuffer(FData.data(), int64_t(FData.size()));
}

void TJPEGImage::SaveToFile(const std::string& fileName) {
  JPEGNeeded();
  if (FData.empty()) throw EInOutError("Cannot save an empty JPEG image", kStreamWriteError);
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
  f.Flush();
}

void TJPEGImage::Assign(const TPersistent* Source) {
  if (const auto* b = dynamic_cast<const TBitmap*>(Source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(b);
    FBitmap = std::move(copy);
    FData.clear();
    FWidth = b->Width();
    FHeight = b->Height();
    FGrayscale = false;
    return;
  }
  if (const auto* j = dynamic_cast<const TJPEGImage*>(Source)) {
    if (j == this) return;
    FData = j->FData;
    FBitmap.reset();
    if (j->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(j->FBitmap.get());
    }
    FWidth = j->FWidth;
    FHeight = j->FHeight;
    FGrayscale = j->FGrayscale;
    FQuality = j->FQuality;
    FSubsampling = j->FSubsampling;
    return;
  }
  TPersistent::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) const {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    if (FBitmap) {
      b->Assign(FBitmap.get());
    } else if (!FData.empty()) {
      // decode straight into the destination: no second copy of a large picture
      DecodeJpeg(FData.data(), FData.size(), *b, FOnProgress, const_cast<TJPEGImage*>(this));
    } else {
      b->SetSize(0, 0);
    }
    return;
  }
  TPersistent::AssignTo(Dest);
}

}  // namespace Platform
