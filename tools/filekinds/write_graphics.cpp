// File kinds of the graphics layer: a BMP of every written pixel format and a
// JPEG, all of one deterministic picture (lines, shapes, stretched copy and
// text in the built-in face, which does not depend on the installed fonts).
#include "platform/platform.h"
#include "tools/filekinds/filekinds.h"

namespace {

using lumivar_filekinds::FileKind;
using lumivar_filekinds::Registration;
using namespace Platform;

void DrawPicture(TBitmap& b) {
  b.SetPixelFormat(pf24bit);
  b.SetSize(123, 77);
  TCanvas* c = b.Canvas();
  for (int32_t y = 0; y < 77; ++y)
    for (int32_t x = 0; x < 123; ++x)
      c->SetPixels(x, y, RGB(uint8_t(x * 2), uint8_t(y * 3), uint8_t((x + y) * 5)));
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clYellow);
  c->Ellipse(10, 8, 60, 40);
  TPoint tri[3] = {Point(70, 5), Point(118, 40), Point(64, 70)};
  c->Brush()->SetColor(clBlue);
  c->Polygon(tri, 3);
  c->Pen()->SetStyle(psDash);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(2, 2, 121, 75);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(3);
  c->MoveTo(5, 70);
  c->LineTo(100, 50);
  c->Pen()->SetWidth(1);
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(0, 0);
  c->LineTo(122, 76);
  c->Pen()->SetMode(pmCopy);
  // a halftone reduction of the picture into its corner
  TBitmap copy;
  copy.Assign(&b);
  SetStretchBltMode(c->Handle(), HALFTONE);
  StretchBlt(c->Handle(), 80, 50, 37, 23, copy.Canvas()->Handle(), 0, 0, 123, 77, SRCCOPY);
  bool fonts = SystemFontsEnabled();
  SetSystemFontsEnabled(false);
  c->Font()->SetColor(clBlack);
  c->Font()->SetSize(8);
  c->Brush()->SetColor(clWhite);
  c->TextOut(12, 45, "Lumivar");
  c->Font()->SetOrientation(300);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(20, 70, "30 deg");
  SetSystemFontsEnabled(fonts);
}

void WriteBmp(const std::string& dir, TPixelFormat f, const std::string& name) {
  TBitmap b;
  DrawPicture(b);
  b.SetPixelFormat(f);
  b.SaveToFile(dir + "/" + name);
}

const Registration kBmp1(FileKind{
    "BMP 1 bit", [](const std::string& d) { WriteBmp(d, pf1bit, "picture1.bmp"); }});
const Registration kBmp4(FileKind{
    "BMP 4 bits", [](const std::string& d) { WriteBmp(d, pf4bit, "picture4.bmp"); }});
const Registration kBmp8(FileKind{
    "BMP 8 bits", [](const std::string& d) { WriteBmp(d, pf8bit, "picture8.bmp"); }});
const Registration kBmp15(FileKind{
    "BMP 15 bits", [](const std::string& d) { WriteBmp(d, pf15bit, "picture15.bmp"); }});
const Registration kBmp16(FileKind{
    "BMP 16 bits", [](const std::string& d) { WriteBmp(d, pf16bit, "picture16.bmp"); }});
const Registration kBmp24(FileKind{
    "BMP 24 bits", [](const std::string& d) { WriteBmp(d, pf24bit, "picture24.bmp"); }});
const Registration kBmp32(FileKind{
    "BMP 32 bits", [](const std::string& d) { WriteBmp(d, pf32bit, "picture32.bmp"); }});
const Registration kJpeg(FileKind{"JPEG", [](const std::string& d) {
                                    TBitmap b;
                                    DrawPicture(b);
                                    TJPEGImage j;
                                    j.Assign(&b);
                                    j.SaveToFile(d + "/picture.jpg");
                                  }});

}  // namespace
