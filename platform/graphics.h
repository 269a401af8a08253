// Bitmaps and the canvas that draws on them, with the classic desktop raster
// rules: lines stop before their last point, boxes leave out their right and
// bottom edge, pen modes combine with the pixels, everything clips to the
// bitmap and colours are reduced to the bitmap's pixel format.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/pixelwords.h"
#include "platform/streams.h"
#include "platform/types.h"

namespace Platform {

class TBitmap;
class TCanvas;

enum TPixelFormat : uint8_t {
  pfDevice,  // the display's format: 24 bits here
  pf1bit,
  pf4bit,  // the 16-colour VGA palette unless a file brings its own
  pf8bit,  // a 256-colour palette (6x6x6 cube and 40 greys unless a file brings its own)
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};

// Formats whose pixels are indices into a palette.
inline bool IsPaletteFormat(TPixelFormat f) {
  return f == pf1bit || f == pf4bit || f == pf8bit;
}
// Formats whose pixels are 16-bit words (see platform/pixelwords.h).
inline bool IsWordFormat(TPixelFormat f) {
  return f == pf15bit || f == pf16bit;
}
// Bytes a pixel of the format takes in a bitmap's rows.
inline int32_t BytesPerPixelOf(TPixelFormat f) {
  return IsWordFormat(f) ? 2 : 4;
}

enum TPenStyle : uint8_t {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame
};

// The sixteen binary raster operations of a pen, in their usual order.
enum TPenMode : uint8_t {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};

enum TBrushStyle : uint8_t { bsSolid, bsClear };

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint8_t;  // set of TFontStyle: bit (1 << style)
constexpr TFontStyles FontStyleBit(TFontStyle s) {
  return static_cast<TFontStyles>(1u << s);
}

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

// Ternary raster operations for CopyRect and StretchBlt.
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;
constexpr uint32_t SRCCOPY = cmSrcCopy;

// Stretch modes of a canvas (the values of the desktop API).
constexpr int32_t BLACKONWHITE = 1;
constexpr int32_t WHITEONBLACK = 2;
constexpr int32_t COLORONCOLOR = 3;  // nearest pixel, eliminated lines dropped
constexpr int32_t HALFTONE = 4;      // area average when reducing, smooth when enlarging
constexpr int32_t STRETCH_DELETESCANS = COLORONCOLOR;

// Progress of a long image operation (loading, saving, decoding).
enum TProgressStage : uint8_t { psStarting, psRunning, psEnding };
using TProgressEvent =
    std::function<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                       const TRect& R, const std::string& Msg)>;
using TNotifyEvent = std::function<void(TObject* Sender)>;

// The attributes of a font as a plain record: what a caption routine reads
// from the current font, changes (rotation, quality) and turns into a new
// font. Heights are pixels; a negative height gives the character (em)
// height, a positive one the cell height.
struct TLogFont {
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;   // tenths of a degree, counter-clockwise
  int32_t lfOrientation = 0;  // tenths of a degree, counter-clockwise
  int32_t lfWeight = 400;     // 400 normal, 700 bold
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 1;  // DEFAULT_CHARSET
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  std::string lfFaceName;  // UTF-8
};
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t OUT_DEFAULT_PRECIS = 0;
constexpr uint8_t CLIP_DEFAULT_PRECIS = 0;
constexpr uint8_t DEFAULT_QUALITY = 0;
constexpr uint8_t NONANTIALIASED_QUALITY = 3;
constexpr uint8_t ANTIALIASED_QUALITY = 4;
constexpr uint8_t DEFAULT_PITCH = 0;
constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;

class TPen : public TPersistent {
 public:
  std::string ClassName() const override { return "TPen"; }
  void Assign(const TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v) { FWidth = v < 1 ? 1 : v; }
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle v) { FStyle = v; }
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode v) { FMode = v; }

 private:
  TColor FColor = clBlack;
  int32_t FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

class TBrush : public TPersistent {
 public:
  std::string ClassName() const override { return "TBrush"; }
  void Assign(const TPersistent* Source) override;

  TColor Color() const { return FColor; }
  // A colour makes a clear brush solid again.
  void SetColor(TColor v) {
    FColor = v;
    if (FStyle == bsClear) FStyle = bsSolid;
  }
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle v) { FStyle = v; }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// Font attributes. Size is in points at 96 dots per inch; Height in pixels
// (negative: character height), the two are kept in step.
class TFont : public TPersistent {
 public:
  std::string ClassName() const override { return "TFont"; }
  void Assign(const TPersistent* Source) override;

  const std::string& Name() const { return FLog.lfFaceName; }
  void SetName(const std::string& v) { FLog.lfFaceName = v; }
  int32_t Size() const;
  void SetSize(int32_t points);
  int32_t Height() const { return FLog.lfHeight; }
  void SetHeight(int32_t pixels) { FLog.lfHeight = pixels; }
  TFontStyles Style() const;
  void SetStyle(TFontStyles v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  // Rotation of the text in tenths of a degree, counter-clockwise.
  int32_t Orientation() const { return FLog.lfEscapement; }
  void SetOrientation(int32_t tenths) { FLog.lfEscapement = FLog.lfOrientation = tenths; }
  uint8_t Charset() const { return FLog.lfCharSet; }
  void SetCharset(uint8_t v) { FLog.lfCharSet = v; }
  TFontPitch Pitch() const;
  void SetPitch(TFontPitch v);

  // The logical-font description of this font, and a font made from one
  // (the colour is kept; it is not part of the description).
  TLogFont GetLogFont() const { return FLog; }
  void SetLogFont(const TLogFont& lf) { FLog = lf; }

 private:
  TLogFont FLog = DefaultLogFont();
  TColor FColor = clBlack;
  static TLogFont DefaultLogFont();
};

// Device-context style handle of a canvas, for the stretch functions.
using HDC = TCanvas*;

class TCanvas : public TPersistent {
 public:
  explicit TCanvas(TBitmap* owner) : FBitmap(owner) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  std::string ClassName() const override { return "TCanvas"; }

  TPen* Pen() { return &FPen; }
  TBrush* Brush() { return &FBrush; }
  TFont* Font() { return &FFont; }
  void SetPen(const TPen* v) { FPen.Assign(v); }
  void SetBrush(const TBrush* v) { FBrush.Assign(v); }
  void SetFont(const TFont* v) { FFont.Assign(v); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode v) { FCopyMode = v; }
  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  HDC Handle() { return this; }
  TBitmap* Bitmap() const { return FBitmap; }
  TRect ClipRect() const;
  int32_t StretchMode() const { return FStretchMode; }
  void SetStretchMode(int32_t mode) { FStretchMode = mode; }

  void MoveTo(int32_t X, int32_t Y);
  // Draws from the pen position up to, but not including, (X, Y).
  void LineTo(int32_t X, int32_t Y);
  void Polyline(const TPoint* points, int32_t count);
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void Polygon(const TPoint* points, int32_t count);
  void Polygon(const std::vector<TPoint>& points) {
    Polygon(points.data(), static_cast<int32_t>(points.size()));
  }
  // Fills with the brush, without outline; the right and bottom edges are left out.
  void FillRect(const TRect& r);
  // One-pixel outline of r in the brush colour.
  void FrameRect(const TRect& r);

  TColor Pixels(int32_t X, int32_t Y) const;  // -1 (0xFFFFFFFF) outside the bitmap
  void SetPixels(int32_t X, int32_t Y, TColor c);

  // Text with the top-left of its (rotated) box at (X, Y); a solid brush
  // paints the box first.
  void TextOut(int32_t X, int32_t Y, const std::string& text);
  int32_t TextWidth(const std::string& text);
  int32_t TextHeight(const std::string& text);
  TPoint TextExtent(const std::string& text);

  // Copies (stretching when the sizes differ) with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);
  void Draw(int32_t X, int32_t Y, TBitmap* Graphic);
  void StretchDraw(const TRect& Dest, TBitmap* Graphic);

 private:
  friend class TRaster;
  TBitmap* FBitmap;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  TCopyMode FCopyMode = cmSrcCopy;
  TPoint FPenPos;
  int32_t FStretchMode = COLORONCOLOR;
  int32_t FDashPhase = 0;  // position in the dash pattern, carried from line to line
};

// A picture in memory, rows top-down, pixels already reduced to the pixel
// format. pf15bit and pf16bit keep one 16-bit word per pixel in the BMP
// layouts (5-5-5 and 5-6-5, see platform/pixelwords.h); every other format
// keeps the reduced colour as a 32-bit TColor ($00BBGGRR), the palette
// formats the palette colour itself.
class TBitmap : public TPersistent {
 public:
  TBitmap();
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  std::string ClassName() const override { return "TBitmap"; }

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetWidth(int32_t v) { SetSize(v, FHeight); }
  void SetHeight(int32_t v) { SetSize(FWidth, v); }
  // Keeps the overlapping part of the picture; new pixels are white.
  void SetSize(int32_t width, int32_t height);
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the pixels held to the new format.
  void SetPixelFormat(TPixelFormat v);
  TCanvas* Canvas() { return FCanvas.get(); }
  // Palette of the 1-, 4- and 8-bit formats (empty for the others).
  const std::vector<TColor>& Palette() const { return FPalette; }
  void SetPalette(const std::vector<TColor>& colors);

  // Bytes a pixel takes in a row: 2 for pf15bit and pf16bit, else 4.
  int32_t BytesPerPixel() const { return BytesPerPixelOf(FPixelFormat); }
  // Row y in its native layout (rows lie back to back, Width() pixels each).
  void* ScanLine(int32_t y) { return RowBytes(y); }
  const void* ScanLine(int32_t y) const { return RowBytes(y); }
  // Row y of a 4-byte format as TColors; writers store ReduceColor'ed colours.
  uint32_t* ColorRow(int32_t y) { return reinterpret_cast<uint32_t*>(RowBytes(y)); }
  const uint32_t* ColorRow(int32_t y) const {
    return reinterpret_cast<const uint32_t*>(RowBytes(y));
  }
  // Row y of pf15bit or pf16bit as its 16-bit words.
  uint16_t* WordRow(int32_t y) { return reinterpret_cast<uint16_t*>(RowBytes(y)); }
  const uint16_t* WordRow(int32_t y) const {
    return reinterpret_cast<const uint16_t*>(RowBytes(y));
  }
  // n pixels of row y from x on, as reduced colours, in any format (in range).
  void ReadRow(int32_t y, int32_t x, int32_t n, uint32_t* colors) const;
  void WriteRow(int32_t y, int32_t x, int32_t n, const uint32_t* reducedColors);
  // One pixel (in range) as a reduced colour; SetPixelAt takes a reduced colour.
  TColor PixelAt(int32_t x, int32_t y) const {
    switch (FPixelFormat) {
      case pf15bit:
        return PixelWords::Unpack15(WordRow(y)[x]);
      case pf16bit:
        return PixelWords::Unpack16(WordRow(y)[x]);
      default:
        return ColorRow(y)[x];
    }
  }
  void SetPixelAt(int32_t x, int32_t y, TColor reducedColor) {
    switch (FPixelFormat) {
      case pf15bit:
        WordRow(y)[x] = PixelWords::Pack15(reducedColor);
        break;
      case pf16bit:
        WordRow(y)[x] = PixelWords::Pack16(reducedColor);
        break;
      default:
        ColorRow(y)[x] = reducedColor;
        break;
    }
  }
  // The colour as this bitmap's format stores it. (Inline: every line and
  // span drawn asks for it.)
  TColor ReduceColor(TColor c) const {
    c &= 0xFFFFFF;
    switch (FPixelFormat) {
      case pf15bit:
        return c & 0xF8F8F8;
      case pf16bit:
        return c & 0xF8FCF8;
      case pf1bit:
      case pf4bit:
      case pf8bit:
        return NearestPaletteColor(c);
      default:
        return c;
    }
  }

  void Assign(const TPersistent* Source) override;

  // BMP files: 1, 4, 8, 16 (5-5-5 and 5-6-5), 24 and 32 bits. Errors raise EInOutError.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream);

  const TProgressEvent& OnProgress() const { return FOnProgress; }
  void SetOnProgress(const TProgressEvent& h) { FOnProgress = h; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& h) { FOnChange = h; }

  // Makes room for a picture of the given size and format without keeping
  // the old one (readers use this). Refuses absurd sizes with EInOutError.
  void Allocate(int32_t width, int32_t height, TPixelFormat format);
  void Progress(TProgressStage stage, uint8_t percent);
  // Exchanges the pictures (size, format, pixels, palette) of two bitmaps;
  // canvases and handlers stay.
  void SwapPicture(TBitmap& other);

 private:
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  // The rows, in the vector of the format's pixel type so that every pixel
  // is read and written as the type it was stored as; the other is empty.
  std::vector<uint32_t> FPixels;  // 4-byte formats
  std::vector<uint16_t> FWords;   // pf15bit and pf16bit
  std::vector<TColor> FPalette;
  mutable std::vector<uint32_t> FNearestCache;  // palette formats: colour -> reduced colour
  std::unique_ptr<TCanvas> FCanvas;
  TProgressEvent FOnProgress;
  TNotifyEvent FOnChange;
  TColor NearestPaletteColor(TColor c) const;  // c already cut to 24 bits
  void ReduceAll();
  void ConvertPixels(TPixelFormat from);
  void FillStorage(size_t count, TColor reduced);
  uint8_t* RowBytes(int32_t y) {
    return const_cast<uint8_t*>(static_cast<const TBitmap*>(this)->RowBytes(y));
  }
  const uint8_t* RowBytes(int32_t y) const {
    const auto* base = IsWordFormat(FPixelFormat)
                           ? reinterpret_cast<const uint8_t*>(FWords.data())
                           : reinterpret_cast<const uint8_t*>(FPixels.data());
    return base + size_t(y) * size_t(FWidth) * size_t(BytesPerPixel());
  }
};

// Largest pixel buffer a reader or Allocate accepts (1 GiB).
constexpr uint64_t kMaxPixelBufferBytes = uint64_t(1) << 30;

// The 16 colours of the VGA palette and the default 256-colour palette.
const std::vector<TColor>& Vga16Palette();
const std::vector<TColor>& Default256Palette();

// Stretch functions of the desktop API, working on canvases.
int32_t SetStretchBltMode(HDC dc, int32_t mode);  // returns the previous mode
int32_t GetStretchBltMode(HDC dc);
bool StretchBlt(HDC dest, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx,
                int32_t sy, int32_t sw, int32_t sh, uint32_t rop);
bool BitBlt(HDC dest, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
            uint32_t rop);

// Width and height of a BMP or JPEG file (told apart by their first bytes),
// read from its header without decoding the pixels, so that a picture can be
// refused before memory is spent on it. False when the file cannot be read
// or does not start with a header of either kind that the readers accept.
bool ReadImageSize(const std::string& FileName, int32_t& Width, int32_t& Height);

// PNG export of a bitmap (24-bit RGB). Errors raise EInOutError.
void SavePngToFile(TBitmap& bitmap, const std::string& fileName);

}  // namespace Platform
