// Mouse interaction: what a press, a move and a release do in each mouse
// mode (pan, zoom window, drag zoom, selection box, rubber band, trace),
// the feedback drawn inverting on the window surface, and the modal mouse
// box. State changes come before the events they fire, so a handler that
// throws never leaves a box or band half ended.
#include <algorithm>
#include <cmath>
#include <exception>

#include "geomap/geomap.h"
#include "platform/application.h"

namespace ZELK_geomap {

using Platform::RoundHalfEven;
using Platform::TCanvas;
using Platform::TMouseButton;
using Platform::TPoint;
using Platform::TShiftState;
using namespace Zelk_zelkbase;

namespace {

bool LeftHeld(TShiftState Shift) {
  return (Shift & Platform::ssLeft) != 0;
}

}  // namespace

// ---------------------------------------------------------------- entry points

void TGeoMap::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  const TPoint click = ControlToMapImage(TPoint{X, Y});
  FMouse.FLastMClickPosX = click.X;
  FMouse.FLastMClickPosY = click.Y;
  if (FMouse.FMouseBoxState == mbsWaiting) StartMouseBoxDrag(Button, X, Y);
  switch (FMouse.FMouseAction) {
    case maZoomWindow:
      StartZoomWindow(Button, X, Y);
      break;
    case maSelectRect:
      if (Button == Platform::mbLeft) StartSelectRect(X, Y);
      break;
    case maRubberBand:
      if (Button == Platform::mbLeft) ClickRubberBand(Shift, X, Y);
      break;
    default:
      break;
  }
  Platform::TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TGeoMap::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  const TPoint at = ControlToMapImage(TPoint{X, Y});
  FMouse.FLastMMousePosX = at.X;
  FMouse.FLastMMousePosY = at.Y;
  if (FMouse.FMouseBoxState == mbsDragging) DragMouseBox(X, Y);
  switch (FMouse.FMouseAction) {
    case maPan:
    case maPanHoriz:
    case maPanVert:
    case maZoomDrag:
      DragView(Shift, X, Y);
      break;
    case maRubberBand:
      if (FMouse.FRubberBandOn) StretchRubberBand(X, Y);
      break;
    case maZoomWindow:
      if (FMouse.FZoomState == zsBoxDragged) DragWindowBox(X, Y, Platform::psSolid);
      break;
    case maSelectRect:
      if (FMouse.FSelectRectOn && LeftHeld(Shift)) DragWindowBox(X, Y, Platform::psDot);
      break;
    case maMouseTrace:
      if (FMouse.FZoomState == zsIdle && LeftHeld(Shift)) {
        X = std::clamp(X, 0, Width());
        Y = std::clamp(Y, 0, Height());
        AppendTracePoint(X, Y);
      }
      break;
    default:
      break;
  }
  Platform::TCustomControl::MouseMove(Shift, X, Y);
}

void TGeoMap::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  // The application hears of the release first; whatever its handler does,
  // the control's own drag still ends.
  std::exception_ptr handlerFailure;
  try {
    Platform::TCustomControl::MouseUp(Button, Shift, X, Y);
  } catch (...) {
    handlerFailure = std::current_exception();
  }
  if (FMouse.FMouseBoxState == mbsDragging) EndMouseBoxDrag(Button, X, Y);
  switch (FMouse.FMouseAction) {
    case maSelectRect:
      // a release without its press (pressed outside) selects nothing
      if (Button == Platform::mbLeft && FMouse.FSelectRectOn) EndSelectRect(X, Y);
      break;
    case maZoomWindow:
      if (FMouse.FZoomState == zsBoxDragged) EndZoomWindow(Button, X, Y);
      break;
    case maPan:
    case maPanHoriz:
    case maPanVert:
    case maZoomDrag:
      // The next drag starts from its own first move, even when no move
      // without the button comes between (a quick second press, a pen).
      if (Button == Platform::mbLeft) FMouse.FLButtonWasDown = false;
      ZoomStateOnStack();
      break;
    case maMouseTrace:
      EndTraceStroke();
      break;
    default:
      break;
  }
  if (handlerFailure) std::rethrow_exception(handlerFailure);
}

double TGeoMap::GetLastMClickLatitude() const {
  bool valid = false;
  const double lat = CalcLatitude(FMouse.FLastMClickPosX, FMouse.FLastMClickPosY, valid);
  return valid ? lat : 0;
}

double TGeoMap::GetLastMClickLongitude() const {
  bool valid = false;
  const double lon = CalcLongitude(FMouse.FLastMClickPosX, FMouse.FLastMClickPosY, valid);
  return valid ? lon : 0;
}

// ---------------------------------------------------------------- inverted feedback

void TGeoMap::XorDraw(Platform::TPenStyle Style, const std::function<void(TCanvas*)>& Draw) {
  TCanvas* c = Canvas();
  c->Pen()->SetColor(Platform::clWhite);
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(Style);
  c->Pen()->SetMode(Platform::pmXor);
  c->Brush()->SetStyle(Platform::bsClear);
  Draw(c);
  c->Pen()->SetMode(Platform::pmCopy);
  c->Pen()->SetStyle(Platform::psSolid);
  c->Brush()->SetStyle(Platform::bsSolid);
  SurfacePainted();
}

void TGeoMap::XorBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Platform::TPenStyle Style) {
  XorDraw(Style, [&](TCanvas* c) { c->Rectangle(x1, y1, x2, y2); });
}

// ---------------------------------------------------------------- mouse box

bool TGeoMap::MouseBox(int32_t& xLo, int32_t& yLo, int32_t& xHi, int32_t& yHi) {
  // Whatever happens inside the message loop, the box ends and the mouse
  // mode comes back.
  struct TRestore {
    TGeoMap& map;
    TMouseActMode action;
    ~TRestore() {
      // a handler that threw mid-drag leaves no box on the screen
      try {
        map.MouseBoxAbort();
      } catch (...) {
      }
      map.FMouse.FMouseBoxState = mbsIdle;
      map.FMouse.FMouseAction = action;
    }
  } restore{*this, FMouse.FMouseAction};
  FMouse.FMouseAction = maNone;
  FMouse.FMouseBoxState = mbsWaiting;
  while (FMouse.FMouseBoxState == mbsWaiting || FMouse.FMouseBoxState == mbsDragging) {
    Platform::Application->ProcessMessages();
    const bool open = FMouse.FMouseBoxState == mbsWaiting || FMouse.FMouseBoxState == mbsDragging;
    // an empty queue without an idle handler would wait for ever
    if (open && !Platform::Application->HasIdleHandler()) MouseBoxAbort();
  }
  if (FMouse.FMouseBoxState != mbsDone) return false;
  xLo = std::min(FMouse.FMouseBoxX1, FMouse.FMouseBoxX2);
  xHi = std::max(FMouse.FMouseBoxX1, FMouse.FMouseBoxX2);
  yLo = std::min(FMouse.FMouseBoxY1, FMouse.FMouseBoxY2);
  yHi = std::max(FMouse.FMouseBoxY1, FMouse.FMouseBoxY2);
  return true;
}

void TGeoMap::MouseBoxAbort() {
  const bool dragging = FMouse.FMouseBoxState == mbsDragging;
  FMouse.FMouseBoxState = mbsIdle;
  // a box being dragged leaves the screen with it
  if (dragging)
    XorBox(FMouse.FMouseBoxX1, FMouse.FMouseBoxY1, FMouse.FWindOldCornerX, FMouse.FWindOldCornerY,
           Platform::psSolid);
}

void TGeoMap::StartMouseBoxDrag(TMouseButton Button, int32_t X, int32_t Y) {
  if (Button == Platform::mbRight) {
    FMouse.FMouseBoxState = mbsIdle;
    return;
  }
  FMouse.FMouseBoxX1 = X;
  FMouse.FMouseBoxY1 = Y;
  FMouse.FWindOldCornerX = X;
  FMouse.FWindOldCornerY = Y;
  FMouse.FMouseBoxState = mbsDragging;
}

void TGeoMap::DragMouseBox(int32_t& X, int32_t& Y) {
  X = std::clamp(X, 1, std::max(Width(), 1));
  Y = std::clamp(Y, 1, std::max(Height(), 1));
  const int32_t x1 = FMouse.FMouseBoxX1, y1 = FMouse.FMouseBoxY1;
  const int32_t oldX = FMouse.FWindOldCornerX, oldY = FMouse.FWindOldCornerY;
  XorDraw(Platform::psSolid, [&](TCanvas* c) {
    c->Rectangle(x1, y1, oldX, oldY);
    c->Rectangle(x1, y1, X, Y);
  });
  FMouse.FWindOldCornerX = X;
  FMouse.FWindOldCornerY = Y;
}

void TGeoMap::EndMouseBoxDrag(TMouseButton Button, int32_t X, int32_t Y) {
  if (Button == Platform::mbRight) {
    FMouse.FMouseBoxState = mbsIdle;
  } else {
    FMouse.FMouseBoxX2 = X;
    FMouse.FMouseBoxY2 = Y;
    FMouse.FMouseBoxState = mbsDone;
  }
  XorBox(FMouse.FMouseBoxX1, FMouse.FMouseBoxY1, FMouse.FWindOldCornerX, FMouse.FWindOldCornerY,
         Platform::psSolid);
}

// ---------------------------------------------------------------- zoom window, selection box

void TGeoMap::StartZoomWindow(TMouseButton Button, int32_t X, int32_t Y) {
  if (FMouse.FZoomState != zsIdle || Button != Platform::mbLeft || !InsideControl(X, Y)) return;
  FMouse.FZoomState = zsBoxDragged;
  FMouse.FWindAnchorX = FMouse.FWindOldCornerX = X;
  FMouse.FWindAnchorY = FMouse.FWindOldCornerY = Y;
}

void TGeoMap::DragWindowBox(int32_t& X, int32_t& Y, Platform::TPenStyle Style) {
  X = std::clamp(X, 0, Width());
  Y = std::clamp(Y, 0, Height());
  const int32_t ax = FMouse.FWindAnchorX, ay = FMouse.FWindAnchorY;
  const int32_t oldX = FMouse.FWindOldCornerX, oldY = FMouse.FWindOldCornerY;
  XorDraw(Style, [&](TCanvas* c) {
    c->Rectangle(ax, ay, oldX, oldY);
    c->Rectangle(ax, ay, X, Y);
  });
  FMouse.FWindOldCornerX = X;
  FMouse.FWindOldCornerY = Y;
}

void TGeoMap::EndZoomWindow(TMouseButton Button, int32_t X, int32_t Y) {
  if (Button != Platform::mbLeft && Button != Platform::mbRight) return;
  // The box leaves the screen whatever follows: one too small to zoom into
  // would otherwise stay drawn.
  FMouse.FZoomState = zsIdle;
  XorBox(FMouse.FWindAnchorX, FMouse.FWindAnchorY, FMouse.FWindOldCornerX, FMouse.FWindOldCornerY,
         Platform::psSolid);
  if (Button != Platform::mbLeft) return;
  if (FMouse.FWindAnchorX == FMouse.FWindOldCornerX ||
      FMouse.FWindAnchorY == FMouse.FWindOldCornerY)
    return;
  // dragged either way, the box is the same
  if (X < FMouse.FWindAnchorX) std::swap(X, FMouse.FWindAnchorX);
  if (Y < FMouse.FWindAnchorY) std::swap(Y, FMouse.FWindAnchorY);
  const TPoint a = ControlToMapImage(TPoint{FMouse.FWindAnchorX, FMouse.FWindAnchorY});
  const TPoint b = ControlToMapImage(TPoint{X, Y});
  if (a.X == b.X || a.Y == b.Y) return;
  const double dx = std::fabs(double(b.X) - a.X), dy = std::fabs(double(b.Y) - a.Y);
  // the wider side of the box decides
  const double m = KeptInZoomRange(dx > dy ? Width() / dx : Height() / dy);
  FView.FMagnify = m;
  FView.FTopLeft.X = RoundHalfEven(a.X + std::nearbyint((double(b.X) - a.X - Width() / m) / 2));
  FView.FTopLeft.Y = RoundHalfEven(a.Y + std::nearbyint((double(b.Y) - a.Y - Height() / m) / 2));
  Paint();
  DoZoomPanEvent();
}

void TGeoMap::StartSelectRect(int32_t X, int32_t Y) {
  FMouse.FWindAnchorX = FMouse.FWindOldCornerX = X;
  FMouse.FWindAnchorY = FMouse.FWindOldCornerY = Y;
  FMouse.FSelectRectOn = true;
  if (FOnBeginRubberBand)
    FOnBeginRubberBand(this, TPoint{FMouse.FLastMClickPosX, FMouse.FLastMClickPosY});
}

void TGeoMap::EndSelectRect(int32_t X, int32_t Y) {
  FMouse.FSelectRectOn = false;
  XorBox(FMouse.FWindAnchorX, FMouse.FWindAnchorY, FMouse.FWindOldCornerX, FMouse.FWindOldCornerY,
         Platform::psDot);
  const TPoint a = ControlToMapImage(TPoint{FMouse.FWindAnchorX, FMouse.FWindAnchorY});
  const TPoint b = ControlToMapImage(TPoint{X, Y});
  // geographic corners when the calibration gives all four values
  bool valid = false;
  const double lonA = CalcLongitude(a, valid);
  double latA = 0, lonB = 0, latB = 0;
  if (valid) latA = CalcLatitude(a, valid);
  if (valid) lonB = CalcLongitude(b, valid);
  if (valid) latB = CalcLatitude(b, valid);
  if (valid)
    DoSelectRectEvent(1, lonA, latA, lonB, latB);
  else
    DoSelectRectEvent(0, a.X, a.Y, b.X, b.Y);
}

// ---------------------------------------------------------------- rubber band

void TGeoMap::ClickRubberBand(TShiftState Shift, int32_t X, int32_t Y) {
  const TPoint click{FMouse.FLastMClickPosX, FMouse.FLastMClickPosY};
  if ((Shift & Platform::ssCtrl) && FMouse.FRubberBandOn) {
    // a new segment starts here; the finished one stays drawn
    if (FOnContRubberBand) FOnContRubberBand(this, click);
    FMouse.FRubberBAnchorX = FMouse.FRubberBandOldX = X;
    FMouse.FRubberBAnchorY = FMouse.FRubberBandOldY = Y;
    return;
  }
  if (FMouse.FRubberBandOn) {
    FMouse.FRubberBandOn = false;
    const int32_t ax = FMouse.FRubberBAnchorX, ay = FMouse.FRubberBAnchorY;
    const int32_t ox = FMouse.FRubberBandOldX, oy = FMouse.FRubberBandOldY;
    XorDraw(Platform::psSolid, [&](TCanvas* c) {
      c->MoveTo(ax, ay);
      c->LineTo(ox, oy);
    });
    if (FOnEndRubberBand) FOnEndRubberBand(this, click);
    return;
  }
  if (FOnBeginRubberBand) FOnBeginRubberBand(this, click);
  FMouse.FRubberBAnchorX = FMouse.FRubberBandOldX = X;
  FMouse.FRubberBAnchorY = FMouse.FRubberBandOldY = Y;
  FMouse.FRubberBandOn = true;
}

void TGeoMap::StretchRubberBand(int32_t X, int32_t Y) {
  const int32_t ax = FMouse.FRubberBAnchorX, ay = FMouse.FRubberBAnchorY;
  const int32_t ox = FMouse.FRubberBandOldX, oy = FMouse.FRubberBandOldY;
  XorDraw(Platform::psSolid, [&](TCanvas* c) {
    c->MoveTo(ax, ay);
    c->LineTo(ox, oy);
    c->MoveTo(ax, ay);
    c->LineTo(X, Y);
  });
  FMouse.FRubberBandOldX = X;
  FMouse.FRubberBandOldY = Y;
}

// ---------------------------------------------------------------- pan and drag zoom

void TGeoMap::DragView(TShiftState Shift, int32_t X, int32_t Y) {
  if (!LeftHeld(Shift)) {
    FMouse.FLButtonWasDown = false;
    return;
  }
  const bool firstMove = !FMouse.FLButtonWasDown;
  FMouse.FLButtonWasDown = true;
  if (firstMove) {
    FMouse.MouseAnchorX = X;
    FMouse.MouseAnchorY = Y;
    FMouse.FTopLeftXAnchor = FView.FTopLeft.X;
    FMouse.FTopLeftYAnchor = FView.FTopLeft.Y;
    return;
  }
  if (!InsideControl(X, Y)) return;
  if (FMouse.FMouseAction == maZoomDrag)
    ZoomByDrag(X, Y);
  else
    PanByDrag(X, Y);
  Paint();
  DoZoomPanEvent();
}

void TGeoMap::PanByDrag(int32_t X, int32_t Y) {
  const double m = FView.FMagnify;
  // summed in doubles and saturated: a view far out must not wrap around
  auto moved = [m](int32_t topLeftAnchor, int32_t mouseAnchor, int32_t now) {
    return RoundHalfEven(topLeftAnchor + std::nearbyint((double(mouseAnchor) - now) / m));
  };
  if (FMouse.FMouseAction != maPanVert)
    FView.FTopLeft.X = moved(FMouse.FTopLeftXAnchor, FMouse.MouseAnchorX, X);
  if (FMouse.FMouseAction != maPanHoriz)
    FView.FTopLeft.Y = moved(FMouse.FTopLeftYAnchor, FMouse.MouseAnchorY, Y);
  if (FMouse.FConfinePan) PanMapToFillWindow();
}

void TGeoMap::ZoomByDrag(int32_t X, int32_t Y) {
  const int32_t W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  const double m = FView.FMagnify;
  const double hx = std::nearbyint(W / m / 2), hy = std::nearbyint(H / m / 2);
  // upwards zooms in, downwards out; rightwards adds a twentieth
  const double factor =
      1 - ((double(FMouse.MouseAnchorX) - X) / W * 0.05 - (double(FMouse.MouseAnchorY) - Y) / H);
  const double zoomed = KeptInZoomRange(m * factor);
  FView.FMagnify = zoomed;
  // the image pixel in the middle of the window stays there
  FView.FTopLeft.X = RoundHalfEven(FView.FTopLeft.X + hx - std::nearbyint(W / zoomed / 2));
  FView.FTopLeft.Y = RoundHalfEven(FView.FTopLeft.Y + hy - std::nearbyint(H / zoomed / 2));
}

}  // namespace ZELK_geomap
