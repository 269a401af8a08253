// The map image of the control: loading it from a file or a bitmap,
// saving it beside its calibration, renaming and resampling it, the display
// magnification and the pre-scaled cache that keeps panning cheap.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "geomap/geomap.h"
#include "platform/filesystem.h"
#include "platform/graphics.h"
#include "platform/jpeg.h"
#include "platform/numbers.h"
#include "support/brontal/brontal.h"

namespace ZELK_geomap {

namespace {

constexpr int64_t kMaxMapPixels = 3000000;
const char* const kUnknownImage = "$unknown$";

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// Width and height from a BMP file's header, so that an oversized picture
// is refused before its pixels are decoded. False when the header is not
// one we can read; the decoder then reports the fault itself.
bool ReadBmpSize(const std::string& fileName, int64_t& width, int64_t& height) {
  std::FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return false;
  unsigned char h[26] = {};
  const size_t got = std::fread(h, 1, sizeof h, f);
  std::fclose(f);
  if (got < 26 || h[0] != 'B' || h[1] != 'M') return false;
  auto le32 = [&](int o) {
    return static_cast<int32_t>(uint32_t(h[o]) | uint32_t(h[o + 1]) << 8 |
                                uint32_t(h[o + 2]) << 16 | uint32_t(h[o + 3]) << 24);
  };
  auto le16 = [&](int o) { return static_cast<int32_t>(uint32_t(h[o]) | uint32_t(h[o + 1]) << 8); };
  if (le32(14) == 12) {  // the old core header has 16-bit sizes
    width = le16(18);
    height = le16(20);
  } else {
    width = le32(18);
    height = std::llabs(static_cast<long long>(le32(22)));  // negative: stored top-down
  }
  return true;
}

// The image file to open: the name as written, else its file name in lower
// case (sets written where names were lower-cased), else the whole name in
// lower case.
bool FindImageFile(std::string& fileName) {
  if (Platform::FileExists(fileName)) return true;
  const std::string dir = Platform::ExtractFilePath(fileName);
  for (const std::string& candidate :
       {dir + LowerAscii(fileName.substr(dir.size())), LowerAscii(fileName)}) {
    if (Platform::FileExists(candidate)) {
      fileName = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

void TGeoMap::CheckMapImageSize(int64_t Width, int64_t Height) const {
  if (Width * Height > kMaxMapPixels)
    RaiseError("Cannot use map image, maximum of " + Platform::IntToStr(kMaxMapPixels) +
               " pixels exceeded (size of map is " + Platform::IntToStr(Width) + " x " +
               Platform::IntToStr(Height) + ")");
}

void TGeoMap::TakeMapImage(const Platform::TBitmap* Image, const std::string& ImgName) {
  if (Image) GrafBmp->Assign(Image);
  FView.FMapImgName = ImgName;
  FCal.SetImageSize(GrafBmp->Width(), GrafBmp->Height());
  AuxBmp->SetSize(GrafBmp->Width(), GrafBmp->Height());
  FView.FTopLeft = Platform::Point(0, 0);
  Paint();
}

void TGeoMap::SetMapImgName(const std::string& Value) {
  std::string fileName = Value;
  if (FOnMapImgRequest) FOnMapImgRequest(this, fileName);
  FView.FCacheMag = 0;
  if (!FindImageFile(fileName)) {
    ForgetMapImage();
    Paint();
    return;
  }
  // The picture is decoded into a bitmap of its own and taken over only
  // when it is complete and within the limit, so a refused or broken file
  // leaves the control as it was.
  const std::string ext = LowerAscii(Platform::ExtractFileExt(fileName));
  Platform::TBitmap image;
  if (ext == ".jpg" || ext == ".jpeg") {
    Platform::TJPEGImage jpeg;
    jpeg.SetOnProgress(FOnDataLoading);
    jpeg.LoadFromFile(fileName);
    CheckMapImageSize(jpeg.Width(), jpeg.Height());
    image.Assign(&jpeg);
  } else if (ext == ".bmp") {
    int64_t w = 0, h = 0;
    if (ReadBmpSize(fileName, w, h)) CheckMapImageSize(w, h);
    image.SetOnProgress(FOnDataLoading);
    image.LoadFromFile(fileName);
  } else {
    // Nothing to read: the name is taken, the picture stays.
    TakeMapImage(nullptr, Value);
    return;
  }
  CheckMapImageSize(image.Width(), image.Height());
  TakeMapImage(&image, Value);
}

void TGeoMap::SetMapBitMap(const Platform::TBitmap* Value) {
  if (!Value) RaiseError("no bitmap given for the map image");
  FView.FCacheMag = 0;
  CheckMapImageSize(Value->Width(), Value->Height());
  TakeMapImage(Value, kUnknownImage);
}

void TGeoMap::SaveMap(const std::string& FileName, const std::string& DataID) {
  if (GrafBmp->Empty()) RaiseError("SaveMap: no map image to save");
  const std::string dir = Platform::ExtractFilePath(FileName);
  const std::string oldName = FView.FMapImgName;
  const std::string oldMapFName = FCal.Data().MapFName;
  std::string& imgName = FView.FMapImgName;
  imgName = Zelk_fileutil::StripExtension(Zelk_fileutil::StripPath(FileName)) + ".jpg";
  try {
    SaveCalDataAsXML(Zelk_fileutil::StripExtension(FileName) + ".xml", DataID);
    Platform::TJPEGImage jpeg;
    jpeg.SetOnProgress(FOnDataLoading);
    jpeg.SetCompressionQuality(FView.FJPEGQuality);
    jpeg.Assign(GrafBmp);
    jpeg.SaveToFile(dir + imgName);
  } catch (...) {
    // Without the image on disk the new name would point at nothing.
    imgName = oldName;
    FCal.SetMapFName(oldMapFName);
    throw;
  }
}

bool TGeoMap::RenameMapImg(const std::string& Name) {
  // The directory goes before the reduction, which would otherwise glue
  // its names onto the file name.
  const std::string base = Zelk_fileutil::StripExtension(
      Zelk_fileutil::ReduceStringToFN83CompliantChars(Zelk_fileutil::StripPath(Name)));
  std::string& imgName = FView.FMapImgName;
  if (imgName.empty() || base.empty() || !Platform::FileExists(imgName)) return false;
  const std::string newName =
      Platform::ExtractFilePath(imgName) + base + Platform::ExtractFileExt(imgName);
  // A failed rename leaves the file under its old name; so does the control.
  if (!Platform::RenameFile(imgName, newName)) return false;
  imgName = newName;
  return true;
}

void TGeoMap::ResizeMap(double Magnification) {
  if (!(Magnification > 0) || !std::isfinite(Magnification))
    RaiseError("ResizeMap: magnification must be a positive number");
  const int32_t w0 = GrafBmp->Width();
  const int32_t h0 = GrafBmp->Height();
  if (w0 <= 0 || h0 <= 0) RaiseError("ResizeMap: no map image loaded");
  const int64_t w = Platform::RoundHalfEven64(w0 * Magnification);
  const int64_t h = Platform::RoundHalfEven64(h0 * Magnification);
  if (w < 1 || h < 1) RaiseError("ResizeMap: the resized map image would be empty");
  CheckMapImageSize(w, h);
  FView.FCacheMag = 0;

  Platform::TBitmap resized;
  resized.SetPixelFormat(GrafBmp->PixelFormat());
  resized.SetSize(static_cast<int32_t>(w), static_cast<int32_t>(h));
  Platform::SetStretchBltMode(resized.Canvas()->Handle(),
                              FView.FAntiAlias ? Platform::HALFTONE : Platform::COLORONCOLOR);
  Platform::StretchBlt(resized.Canvas()->Handle(), 0, 0, static_cast<int32_t>(w),
                       static_cast<int32_t>(h), GrafBmp->Canvas()->Handle(), 0, 0, w0, h0,
                       Platform::SRCCOPY);
  GrafBmp->Assign(&resized);

  auto scale = [Magnification](int32_t v) { return Platform::RoundHalfEven(Magnification * v); };
  TCalibData cd = FCal.Data();
  for (int32_t i = 1; i <= cd.NumCalLines; ++i) {
    TCalibLine& line = cd.CalLines[static_cast<size_t>(i)];
    for (int32_t k = 1; k <= line.NumPoints; ++k) {
      Platform::TPoint& p = line.CalPoints[static_cast<size_t>(k)];
      p = Platform::Point(scale(p.X), scale(p.Y));
    }
  }
  for (int32_t i = 1; i <= cd.NumCalQuads; ++i) {
    TCalQuad& q = cd.CalQuads[static_cast<size_t>(i)];
    q.MapX = scale(q.MapX);
    q.MapY = scale(q.MapY);
  }
  FCal.SetData(cd);
  // The sizes first: the fits take the image's extent from them.
  FCal.SetImageSize(GrafBmp->Width(), GrafBmp->Height());
  AuxBmp->SetSize(GrafBmp->Width(), GrafBmp->Height());
  FView.FTopLeft = Platform::Point(0, 0);
  RecalcCalibration();
}

void TGeoMap::ResizeMap(int32_t LongerEdgeLength) {
  const int32_t longer = std::max(MapImgWidth(), MapImgHeight());
  if (longer <= 0) RaiseError("ResizeMap: no map image loaded");
  ResizeMap(static_cast<double>(LongerEdgeLength) / longer);
}

void TGeoMap::SetMagnification(double Value) {
  // a property setter never raises: a value that gives no picture is ignored
  if (!(Value > 0) || !std::isfinite(Value)) return;
  FView.FMagnify = Value;
  Paint();
}

}  // namespace ZELK_geomap
