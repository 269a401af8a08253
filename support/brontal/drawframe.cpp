// DrawFrame: plain, double, raised, lowered, bumped, etched and shadowed frames.
#include "support/brontal/drawframe.h"

namespace Zelk_zelkbase {

using Platform::TCanvas;
using Platform::TColor;

namespace {

// One ring of the frame: top and left edges in one colour, bottom and right
// in the other.
void Ring(TCanvas* c, int32_t l, int32_t t, int32_t r, int32_t b, TColor topLeft,
          TColor bottomRight) {
  if (r < l || b < t) return;
  c->Pen()->SetColor(topLeft);
  c->MoveTo(l, b);
  c->LineTo(l, t);
  c->LineTo(r, t);
  c->Pen()->SetColor(bottomRight);
  c->LineTo(r, b);
  c->LineTo(l, b);
  if (l == r && t == b) c->SetPixels(l, t, topLeft);
}

}  // namespace

void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right,
               int32_t Bottom, TColor Highlight, TColor Face, TColor Shadow, TColor DarkShadow,
               TColor Line) {
  if (Canvas == nullptr || Style == fsNone) return;
  Platform::TPen saved;
  saved.Assign(Canvas->Pen());
  Platform::TPoint savedPos = Canvas->PenPos();
  Canvas->Pen()->SetStyle(Platform::psSolid);
  Canvas->Pen()->SetMode(Platform::pmCopy);
  Canvas->Pen()->SetWidth(1);
  int32_t l = Left, t = Top, r = Right, b = Bottom;
  switch (Style) {
    case fsSingle:
      Ring(Canvas, l, t, r, b, Line, Line);
      break;
    case fsDouble:
      Ring(Canvas, l, t, r, b, Line, Line);
      Ring(Canvas, l + 2, t + 2, r - 2, b - 2, Line, Line);
      break;
    case fsRaised:
      Ring(Canvas, l, t, r, b, Highlight, DarkShadow);
      Ring(Canvas, l + 1, t + 1, r - 1, b - 1, Face, Shadow);
      break;
    case fsLowered:
      Ring(Canvas, l, t, r, b, Shadow, Highlight);
      Ring(Canvas, l + 1, t + 1, r - 1, b - 1, DarkShadow, Face);
      break;
    case fsBumped:
      Ring(Canvas, l, t, r, b, Highlight, Shadow);
      Ring(Canvas, l + 1, t + 1, r - 1, b - 1, Shadow, Highlight);
      break;
    case fsEtched:
      Ring(Canvas, l, t, r, b, Shadow, Highlight);
      Ring(Canvas, l + 1, t + 1, r - 1, b - 1, Highlight, Shadow);
      break;
    case fsShadow:
      // a plain line with a shadow along the right and bottom edges
      Ring(Canvas, l, t, r - 1, b - 1, Line, Line);
      Canvas->Pen()->SetColor(Shadow);
      Canvas->MoveTo(r, t + 1);
      Canvas->LineTo(r, b);
      Canvas->LineTo(l, b);
      break;
    default:
      break;
  }
  Canvas->Pen()->Assign(&saved);
  Canvas->MoveTo(savedPos.X, savedPos.Y);
}

}  // namespace Zelk_zelkbase
