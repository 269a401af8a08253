// Headless controls. A control has bounds, alignment inside its parent and
// children; a custom control draws into its own window surface (a bitmap the
// size of the control) and whoever hosts it (a test, a tool, a viewer)
// delivers mouse input through the mouse entry points or the application's
// message queue and reads the surface back.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/graphics.h"
#include "platform/types.h"

namespace Platform {

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Keys and mouse buttons held during a mouse event.
enum TShiftStateFlag : uint8_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TShiftState = uint8_t;  // set of TShiftStateFlag

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Control style flags.
enum TControlStyleFlag : uint32_t {
  csAcceptsControls = 1,
  csCaptureMouse = 2,
  csDesignInteractive = 4,
  csClickEvents = 8,
  csFramed = 16,
  csSetCaption = 32,
  csOpaque = 64,
  csDoubleClicks = 128
};
using TControlStyle = uint32_t;

// Parts of a control that a visual style may paint.
enum TStyleElement : uint8_t { seFont = 1, seClient = 2, seBorder = 4 };
using TStyleElements = uint8_t;  // set of TStyleElement

// Cursor numbers: the standard ones are negative, applications register
// their own under positive numbers in the screen's cursor table.
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                       int32_t X, int32_t Y)>;
using TMouseMoveEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  std::string ClassName() const override { return "TControl"; }

  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetLeft(int32_t v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int32_t v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int32_t v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int32_t v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);
  TRect BoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
  TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int32_t ClientWidth() const { return FWidth; }
  int32_t ClientHeight() const { return FHeight; }

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  TControl* Parent() const { return FParent; }
  virtual void SetParent(TControl* AParent);
  int32_t ControlCount() const { return static_cast<int32_t>(FControls.size()); }
  TControl* Controls(int32_t i) const { return FControls.at(static_cast<size_t>(i)); }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v) { FCursor = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle v) { FControlStyle = v; }
  TStyleElements StyleElements() const { return FStyleElements; }
  void SetStyleElements(TStyleElements v) { FStyleElements = v; }

  // Lays out the aligned children: top, bottom, left, right, then client.
  void Realign();

  // Mouse entry points: the host calls these with control coordinates. The
  // base versions fire the matching events.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseMove(TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void Click();
  virtual void DblClick();

  // Repaints now (custom controls paint their surface).
  virtual void Repaint() {}
  void Refresh() { Repaint(); }
  // Marks the control for painting at the next ProcessMessages.
  virtual void Invalidate() {}

  const TMouseEvent& OnMouseDown() const { return FOnMouseDown; }
  void SetOnMouseDown(const TMouseEvent& h) { FOnMouseDown = h; }
  const TMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(const TMouseMoveEvent& h) { FOnMouseMove = h; }
  const TMouseEvent& OnMouseUp() const { return FOnMouseUp; }
  void SetOnMouseUp(const TMouseEvent& h) { FOnMouseUp = h; }
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(const TNotifyEvent& h) { FOnClick = h; }
  const TNotifyEvent& OnDblClick() const { return FOnDblClick; }
  void SetOnDblClick(const TNotifyEvent& h) { FOnDblClick = h; }
  const TNotifyEvent& OnResize() const { return FOnResize; }
  void SetOnResize(const TNotifyEvent& h) { FOnResize = h; }

  // The whole user gesture as the message loop delivers it: the entry point
  // plus the click that a press and release inside the control make.
  void DispatchMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void DispatchMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);

 protected:
  // Called after the size changed; fires OnResize.
  virtual void Resize();
  virtual void Changed() { Invalidate(); }

 private:
  int32_t FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  bool FClicked = false;
  TControl* FParent = nullptr;
  std::vector<TControl*> FControls;
  TCursor FCursor = crDefault;
  TColor FColor = 0xF0F0F0;
  std::string FCaption;
  TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TStyleElements FStyleElements = seFont | seClient | seBorder;
  TMouseEvent FOnMouseDown, FOnMouseUp;
  TMouseMoveEvent FOnMouseMove;
  TNotifyEvent FOnClick, FOnDblClick, FOnResize;
};

// A control with its own window surface and Canvas; Paint draws into it.
class TCustomControl : public TControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  std::string ClassName() const override { return "TCustomControl"; }

  TCanvas* Canvas() { return FSurface->Canvas(); }
  // The window surface: what the control shows.
  TBitmap* Surface() { return FSurface.get(); }
  void Repaint() override;
  void Invalidate() override;
  bool NeedsPaint() const { return FInvalid; }

  // Fired after the control has drawn its window surface anew, so that a
  // host shows the new picture.
  const TNotifyEvent& OnSurfacePainted() const { return FOnSurfacePainted; }
  void SetOnSurfacePainted(const TNotifyEvent& h) { FOnSurfacePainted = h; }

 protected:
  virtual void Paint() {}
  void Resize() override;
  // Every Paint that draws the surface ends with this.
  void SurfacePainted() {
    if (FOnSurfacePainted) FOnSurfacePainted(this);
  }

 private:
  std::unique_ptr<TBitmap> FSurface;
  bool FInvalid = true;
  TNotifyEvent FOnSurfacePainted;
};

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);
  std::string ClassName() const override { return "TPanel"; }
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);

 protected:
  void Paint() override;

 private:
  TBevelCut FBevelOuter = bvRaised;
};

// A button that stays down; buttons with the same non-zero GroupIndex under
// one parent act as a group of which one is down.
class TSpeedButton : public TCustomControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  std::string ClassName() const override { return "TSpeedButton"; }

  bool Down() const { return FDown; }
  void SetDown(bool v);
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t v);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  // Glyph with NumGlyphs images side by side: up, disabled, clicked, down.
  TBitmap* Glyph() { return FGlyph.get(); }
  void SetGlyph(const TBitmap* v);
  int32_t NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int32_t v);

  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 protected:
  void Paint() override;

 private:
  bool FDown = false;
  bool FPressed = false;
  int32_t FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  int32_t FNumGlyphs = 1;
  std::unique_ptr<TBitmap> FGlyph;
  void ReleaseOthersInGroup();
};

enum TComboBoxStyle : uint8_t {
  csDropDown,
  csSimple,
  csDropDownList,
  csOwnerDrawFixed,
  csOwnerDrawVariable
};

class TComboBox;

// The item list of a combo box.
class TComboBoxItems {
 public:
  explicit TComboBoxItems(TComboBox* owner) : FOwner(owner) {}
  int32_t Add(const std::string& s);
  void Clear();
  void Delete(int32_t i);
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  const std::string& Strings(int32_t i) const { return FItems.at(static_cast<size_t>(i)); }
  const std::string& operator[](int32_t i) const { return Strings(i); }
  int32_t IndexOf(const std::string& s) const;

 private:
  TComboBox* FOwner;
  std::vector<std::string> FItems;
};

class TComboBox : public TCustomControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  std::string ClassName() const override { return "TComboBox"; }

  TComboBoxItems* Items() { return &FItems; }
  // -1 when nothing is selected. Setting it does not fire OnChange.
  int32_t ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int32_t v);
  // The selected item's text (empty with no selection).
  std::string Text() const;
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle v) { FStyle = v; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& h) { FOnChange = h; }
  // What a user's pick from the list does: select and fire OnChange.
  void SelectByUser(int32_t index);

 protected:
  void Paint() override;

 private:
  friend class TComboBoxItems;
  TComboBoxItems FItems{this};
  int32_t FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  TNotifyEvent FOnChange;
};

}  // namespace Platform
