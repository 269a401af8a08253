// JPEG images: the compressed data and, once decoded, the picture.
// Assigning to a TBitmap decodes; assigning a TBitmap encodes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace Platform {

// Chroma sampling of encoded pictures: 4:2:0 halves colour resolution both
// ways, 4:2:2 horizontally only, 4:4:4 keeps it.
enum TJPEGChromaSubsampling : uint8_t { jcs420, jcs422, jcs444 };

class TJPEGImage : public TPersistent {
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  TJPEGImage(const TJPEGImage&) = delete;
  TJPEGImage& operator=(const TJPEGImage&) = delete;
  std::string ClassName() const override { return "TJPEGImage"; }

  // Reads the data and checks the header. Corrupt data raise EInOutError
  // (here or when decoding).
  void LoadFromFile(const std::string& fileName);
  void LoadFromStream(TStream& stream);
  void SaveToFile(const std::string& fileName);
  void SaveToStream(TStream& stream);

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  bool Empty() const { return FData.empty() && !FBitmap; }
  bool Grayscale() const { return FGrayscale; }
  // Quality used when encoding a bitmap (1..100).
  int32_t CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int32_t q) { FQuality = q < 1 ? 1 : (q > 100 ? 100 : q); }
  // Chroma sampling used when encoding a bitmap (4:2:0 unless set).
  TJPEGChromaSubsampling ChromaSubsampling() const { return FSubsampling; }
  void SetChromaSubsampling(TJPEGChromaSubsampling v) { FSubsampling = v; }

  void Assign(const TPersistent* Source) override;
  // Decodes the picture (done on demand by assignment to a bitmap).
  void DIBNeeded();
  // Encodes the picture held (done on demand by saving).
  void JPEGNeeded();

  const TProgressEvent& OnProgress() const { return FOnProgress; }
  void SetOnProgress(const TProgressEvent& h) { FOnProgress = h; }

  // The compressed bytes (after loading or encoding).
  const std::vector<uint8_t>& Data() const { return FData; }

 protected:
  void AssignTo(TPersistent* Dest) const override;

 private:
  std::vector<uint8_t> FData;
  std::unique_ptr<TBitmap> FBitmap;  // decoded picture, or the one to encode
  int32_t FWidth = 0, FHeight = 0;
  bool FGrayscale = false;
  int32_t FQuality = 90;
  TJPEGChromaSubsampling FSubsampling = jcs420;
  TProgressEvent FOnProgress;
  void ReadHeader();
};

// Decodes JPEG bytes into a bitmap (24-bit format). Raises EInOutError on
// corrupt or truncated data and on absurd dimensions; never exits.
void DecodeJpeg(const uint8_t* data, size_t size, TBitmap& dest, const TProgressEvent& progress,
                TObject* sender);
// Encodes a bitmap as baseline JPEG with the given quality and chroma sampling.
std::vector<uint8_t> EncodeJpeg(const TBitmap& source, int32_t quality,
                                const TProgressEvent& progress, TObject* sender,
                                TJPEGChromaSubsampling subsampling = jcs420);

}  // namespace Platform
