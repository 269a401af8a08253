// The map image of the control: loading it from a file or a bitmap,
// saving it beside its calibration, renaming and resampling it, the display
// magnification and the pre-scaled cache that keeps panning cheap.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "geomap/filepair_internal.h"
#include "geomap/geomap.h"
#include "platform/atomicfile.h"
#include "platform/filesystem.h"
#include "platform/graphics.h"
#include "platform/jpeg.h"
#include "platform/lettercase.h"
#include "platform/numbers.h"
#include "support/brontal/brontal.h"

namespace ZELK_geomap {

namespace {

constexpr int64_t kMaxMapPixels = 3000000;
const char* const kUnknownImage = "$unknown$";

// The image file to open: the name as written, else its file name in lower
// case (sets written where names were lower-cased), else the whole name in
// lower case.
bool FindImageFile(std::string& fileName) {
  if (Platform::FileExists(fileName)) return true;
  const std::string dir = Platform::ExtractFilePath(fileName);
  for (const std::string& candidate :
       {dir + Platform::LowerCase(fileName.substr(dir.size())), Platform::LowerCase(fileName)}) {
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
  const std::string ext = Platform::LowerCase(Platform::ExtractFileExt(fileName));
  const bool jpeg = ext == ".jpg" || ext == ".jpeg";
  if (jpeg || ext == ".bmp") {
    // An oversized picture is refused from its header, before its pixels
    // are decoded; a header we cannot read leaves the fault to the decoder.
    int32_t w = 0, h = 0;
    if (Platform::ReadImageSize(fileName, w, h)) CheckMapImageSize(w, h);
  }
  Platform::TBitmap image;
  if (jpeg) {
    Platform::TJPEGImage picture;
    picture.SetOnProgress(FOnDataLoading);
    picture.LoadFromFile(fileName);
    CheckMapImageSize(picture.Width(), picture.Height());
    image.Assign(&picture);
  } else if (ext == ".bmp") {
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

void WriteFilePair(const std::string& first, const TFileWriter& writeFirst,
                   const std::string& second, const TFileWriter& writeSecond) {
  Platform::WriteFilesAtomically({{first, writeFirst}, {second, writeSecond}});
}

void TGeoMap::SaveMap(const std::string& FileName, const std::string& DataID) {
  if (GrafBmp->Empty()) RaiseError("SaveMap: no map image to save");
  const std::string dir = Platform::ExtractFilePath(FileName);
  const std::string oldName = FView.FMapImgName;
  const std::string oldMapFName = FCal.Data().MapFName;
  std::string& imgName = FView.FMapImgName;
  imgName = Zelk_fileutil::StripExtension(Zelk_fileutil::StripPath(FileName)) + ".jpg";
  try {
    Platform::TJPEGImage jpeg;
    jpeg.SetOnProgress(FOnDataLoading);
    jpeg.SetCompressionQuality(FView.FJPEGQuality);
    jpeg.Assign(GrafBmp);
    // the picture and the calibration that describes it change together
    WriteFilePair(
        dir + imgName, [&](const std::string& temp) { jpeg.SaveToFile(temp); },
        Zelk_fileutil::StripExtension(FileName) + ".xml",
        [&](const std::string& temp) { WriteCalFile(temp, DataID); });
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
