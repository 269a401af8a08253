// The stock controls: panel, speed button and combo box.
#include <algorithm>

#include "platform/controls.h"

namespace Platform {

namespace {

constexpr TColor kFace = 0xF0F0F0;
constexpr TColor kHighlight = 0xFFFFFF;
constexpr TColor kShadow = 0xA0A0A0;

// A one-pixel bevel: light top-left and dark bottom-right when raised.
void DrawBevel(TCanvas* c, const TRect& r, bool raised) {
  TColor topLeft = raised ? kHighlight : kShadow, bottomRight = raised ? kShadow : kHighlight;
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(topLeft);
  c->MoveTo(r.Left, r.Bottom - 1);
  c->LineTo(r.Left, r.Top);
  c->LineTo(r.Right - 1, r.Top);
  c->Pen()->SetColor(bottomRight);
  c->LineTo(r.Right - 1, r.Bottom - 1);
  c->LineTo(r.Left - 1, r.Bottom - 1);
}

}  // namespace

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
  SetColor(kFace);
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut v) {
  if (v == FBevelOuter) return;
  FBevelOuter = v;
  Invalidate();
}

void TPanel::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  if (FBevelOuter == bvRaised || FBevelOuter == bvLowered)
    DrawBevel(c, ClientRect(), FBevelOuter == bvRaised);
  if (!Caption().empty()) {
    c->Brush()->SetStyle(bsClear);
    c->TextOut((Width() - c->TextWidth(Caption())) / 2, (Height() - c->TextHeight(Caption())) / 2,
               Caption());
  }
  SurfacePainted();
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  SetColor(kFace);
}

void TSpeedButton::SetDown(bool v) {
  if (FGroupIndex == 0) v = false;  // only grouped buttons stay down
  if (v == FDown) return;
  if (!v && !FAllowAllUp) {
    // the last button down in a group stays down unless the group allows all up
    bool otherDown = false;
    if (Parent() != nullptr)
      for (int32_t i = 0; i < Parent()->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (b != nullptr && b != this && b->FGroupIndex == FGroupIndex && b->FDown)
          otherDown = true;
      }
    if (!otherDown) return;
  }
  FDown = v;
  if (v) ReleaseOthersInGroup();
  Invalidate();
}

void TSpeedButton::ReleaseOthersInGroup() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  for (int32_t i = 0; i < Parent()->ControlCount(); ++i) {
    auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
    if (b != nullptr && b != this && b->FGroupIndex == FGroupIndex && b->FDown) {
      b->FDown = false;
      b->Invalidate();
    }
  }
}

void TSpeedButton::SetGroupIndex(int32_t v) {
  FGroupIndex = v;
  if (v == 0) FDown = false;
  if (FDown) ReleaseOthersInGroup();
}

void TSpeedButton::SetFlat(bool v) {
  FFlat = v;
  Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap* v) {
  if (v == nullptr) {
    FGlyph = std::make_unique<TBitmap>();
  } else {
    FGlyph->Assign(v);
    // a strip of square images tells how many it holds
    if (v->Height() > 0 && v->Width() % v->Height() == 0)
      SetNumGlyphs(std::clamp(v->Width() / v->Height(), 1, 4));
  }
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int32_t v) {
  FNumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}

void TSpeedButton::Click() {
  if (FGroupIndex != 0) {
    if (FDown && FAllowAllUp)
      SetDown(false);
    else
      SetDown(true);
  }
  TControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft) {
    FPressed = true;
    Invalidate();
  }
  TControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft) {
    FPressed = false;
    Invalidate();
  }
  TControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(FDown ? 0xE0E0E0 : Color());
  c->FillRect(ClientRect());
  if (!FFlat || FDown || FPressed) DrawBevel(c, ClientRect(), !(FDown || FPressed));
  if (FGlyph->Empty()) {
    SurfacePainted();
    return;
  }
  // image: up 0, disabled 1, clicked 2, down 3 (falling back to the first)
  int32_t w = FGlyph->Width() / FNumGlyphs, h = FGlyph->Height();
  int32_t index = !Enabled() ? 1 : (FPressed ? 2 : (FDown ? 3 : 0));
  if (index >= FNumGlyphs) index = 0;
  int32_t x0 = (Width() - w) / 2 + (FDown || FPressed ? 1 : 0);
  int32_t y0 = (Height() - h) / 2 + (FDown || FPressed ? 1 : 0);
  // the bottom-left pixel marks the transparent colour
  TColor transparent = FGlyph->PixelAt(0, h - 1);
  std::vector<uint32_t> row(static_cast<size_t>(w));
  for (int32_t y = 0; y < h; ++y) {
    FGlyph->ReadRow(y, index * w, w, row.data());
    for (int32_t x = 0; x < w; ++x)
      if (row[size_t(x)] != transparent) c->SetPixels(x0 + x, y0 + y, row[size_t(x)]);
  }
  SurfacePainted();
}

// ---------------------------------------------------------------- TComboBox

int32_t TComboBoxItems::Add(const std::string& s) {
  FItems.push_back(s);
  FOwner->Invalidate();
  return Count() - 1;
}

void TComboBoxItems::Clear() {
  FItems.clear();
  FOwner->FItemIndex = -1;
  FOwner->Invalidate();
}

void TComboBoxItems::Delete(int32_t i) {
  if (i < 0 || i >= Count()) return;
  FItems.erase(FItems.begin() + i);
  if (FOwner->FItemIndex == i)
    FOwner->FItemIndex = -1;
  else if (FOwner->FItemIndex > i)
    --FOwner->FItemIndex;
  FOwner->Invalidate();
}

int32_t TComboBoxItems::IndexOf(const std::string& s) const {
  auto it = std::find(FItems.begin(), FItems.end(), s);
  return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

TComboBox::TComboBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 145, 21);
  SetColor(0xFFFFFF);
}

void TComboBox::SetItemIndex(int32_t v) {
  if (v < -1 || v >= FItems.Count()) v = -1;
  if (v == FItemIndex) return;
  FItemIndex = v;
  Invalidate();
}

std::string TComboBox::Text() const {
  return FItemIndex >= 0 ? FItems.Strings(FItemIndex) : std::string();
}

void TComboBox::SelectByUser(int32_t index) {
  if (index < 0 || index >= FItems.Count()) return;
  SetItemIndex(index);
  if (FOnChange) FOnChange(this);
}

void TComboBox::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(kShadow);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  c->Rectangle(ClientRect());
  // the drop-down arrow
  c->Brush()->SetColor(kFace);
  int32_t bx = std::max(Width() - 17, 1);
  c->Rectangle(bx, 1, Width() - 1, Height() - 1);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clBlack);
  int32_t cx = bx + 8, cy = Height() / 2;
  TPoint arrow[3] = {Point(cx - 3, cy - 1), Point(cx + 3, cy - 1), Point(cx, cy + 2)};
  c->Polygon(arrow, 3);
  if (FItemIndex >= 0) {
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBlack);
    c->TextOut(3, (Height() - c->TextHeight(Text())) / 2, Text());
  }
  SurfacePainted();
}

}  // namespace Platform
