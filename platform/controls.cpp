// TControl and TCustomControl: bounds, parent layout, the window surface and
// the mouse entry points.
#include "platform/controls.h"

#include <algorithm>

#include "platform/application.h"

namespace Platform {

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
  Application->ForgetControl(this);
  // children outlive their parent only as orphans; owners free them
  for (TControl* c : FControls) c->FParent = nullptr;
  FControls.clear();
  if (FParent != nullptr) {
    auto& siblings = FParent->FControls;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    FParent->Realign();
  }
}

void TControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  bool resized = AWidth != FWidth || AHeight != FHeight;
  bool moved = ALeft != FLeft || ATop != FTop;
  if (!resized && !moved) return;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (resized) {
    Resize();
    Realign();
  }
  if (FParent != nullptr && FAlign != alNone && !(FParent->ComponentState() & csDestroying))
    FParent->Realign();
}

void TControl::SetAlign(TAlign v) {
  if (v == FAlign) return;
  FAlign = v;
  if (FParent != nullptr) FParent->Realign();
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (FParent != nullptr) FParent->Realign();
  if (v) Invalidate();
}

void TControl::SetParent(TControl* AParent) {
  if (AParent == FParent) return;
  for (TControl* p = AParent; p != nullptr; p = p->FParent)
    if (p == this) return;  // a control cannot become its own ancestor
  if (FParent != nullptr) {
    auto& siblings = FParent->FControls;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    FParent->Realign();
  }
  FParent = AParent;
  if (FParent != nullptr) {
    FParent->FControls.push_back(this);
    FParent->Realign();
  }
}

void TControl::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Changed();
}

void TControl::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  FCaption = v;
  Changed();
}

void TControl::Realign() {
  TRect r = ClientRect();
  auto place = [](TControl* c, int32_t l, int32_t t, int32_t w, int32_t h) {
    // the child's own SetBounds would ask us to realign again
    TAlign a = c->FAlign;
    c->FAlign = alNone;
    c->SetBounds(l, t, w, h);
    c->FAlign = a;
  };
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : FControls) {
      if (c->FAlign != pass || !c->FVisible) continue;
      switch (pass) {
        case alTop:
          place(c, r.Left, r.Top, r.Width(), c->FHeight);
          r.Top = std::min(r.Top + c->FHeight, r.Bottom);
          break;
        case alBottom:
          place(c, r.Left, r.Bottom - c->FHeight, r.Width(), c->FHeight);
          r.Bottom = std::max(r.Bottom - c->FHeight, r.Top);
          break;
        case alLeft:
          place(c, r.Left, r.Top, c->FWidth, r.Height());
          r.Left = std::min(r.Left + c->FWidth, r.Right);
          break;
        case alRight:
          place(c, r.Right - c->FWidth, r.Top, c->FWidth, r.Height());
          r.Right = std::max(r.Right - c->FWidth, r.Left);
          break;
        default:
          place(c, r.Left, r.Top, r.Width(), r.Height());
          break;
      }
    }
  }
}

void TControl::Resize() {
  if (FOnResize) FOnResize(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (FOnMouseDown) FOnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  if (FOnMouseMove) FOnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (FOnMouseUp) FOnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
  if (FOnClick) FOnClick(this);
}

void TControl::DblClick() {
  if (FOnDblClick) FOnDblClick(this);
}

void TControl::DispatchMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (!FEnabled) return;
  if (Button == mbLeft) FClicked = true;
  MouseDown(Button, Shift, X, Y);
}

void TControl::DispatchMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (!FEnabled) return;
  bool click = Button == mbLeft && FClicked && X >= 0 && Y >= 0 && X < FWidth && Y < FHeight;
  if (Button == mbLeft) FClicked = false;
  MouseUp(Button, Shift, X, Y);
  if (click && (FControlStyle & csClickEvents)) Click();
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TControl(AOwner), FSurface(std::make_unique<TBitmap>()) {
  FSurface->SetPixelFormat(pf24bit);
  // A new control needs its first paint; ask for it like any later one.
  Application->InvalidateControl(this);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Resize() {
  FSurface->SetSize(Width(), Height());
  Invalidate();
  TControl::Resize();
}

void TCustomControl::Repaint() {
  FInvalid = false;
  if (Width() > 0 && Height() > 0) Paint();
}

void TCustomControl::Invalidate() {
  if (FInvalid) return;
  FInvalid = true;
  Application->InvalidateControl(this);
}

}  // namespace Platform
