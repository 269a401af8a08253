// A QWidget that hosts one of the library's controls: it shows the
// control's window surface, hands it the mouse (buttons, Shift, Ctrl and
// Alt, double clicks), sizes it with the widget, shows its cursor and
// repaints whenever the control paints. A control with children (the atlas:
// a panel with two buttons and a map selector, and a map control) gets one
// child host per child control, placed where the control's own layout puts
// it, so that each child receives its own mouse input.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls.h"

namespace lumivar_qt {

class ControlHost : public QWidget {
  Q_OBJECT

 public:
  // The wheel turned over a control by Notches (positive away from the
  // user) at control pixel At.
  using WheelHandler = std::function<void(Platform::TCustomControl* Control, Platform::TPoint At,
                                          double Notches, Platform::TShiftState Shift)>;
  // Lets the user pick one of a combo box's items: its index, or -1.
  using ListPicker =
      std::function<int(const QStringList& Items, int Current, const QPoint& GlobalPos)>;

  // The control is not owned: it must outlive the host, or be replaced
  // (SetControl(nullptr)) before it is destroyed.
  explicit ControlHost(Platform::TCustomControl* Control = nullptr, QWidget* Parent = nullptr);
  ~ControlHost() override;

  Platform::TCustomControl* Control() const { return FControl; }
  // Hosts another control (or none); the previous one keeps its state.
  void SetControl(Platform::TCustomControl* Control);

  // The host of a control of the hosted tree (this one's or a child's), or
  // nullptr.
  ControlHost* HostOf(const Platform::TControl* Control);

  // Unset, the wheel is left to the parent widget. Applies to the child
  // hosts too.
  void SetWheelHandler(WheelHandler Handler);
  // Unset, a menu of the items pops up under the combo box.
  void SetListPicker(ListPicker Picker);

  QSize sizeHint() const override;

  // Widgets follow their controls: bounds, visibility, children, cursor.
  void FollowControls();
  static void FollowAllControls();

 signals:
  // The mouse moved over a control of the hosted tree (control pixels).
  void MouseMovedOver(Platform::TCustomControl* Control, int X, int Y);
  // The mouse left the hosted tree.
  void MouseLeft();
  // A control of the hosted tree drew a new picture.
  void SurfacePainted(Platform::TCustomControl* Control);
  // A control (or an application's handler of its events) raised an error
  // while handling the user's input; without a receiver it is logged.
  void ErrorRaised(const QString& Message);

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void leaveEvent(QEvent* Event) override;

 private:
  ControlHost(Platform::TCustomControl* Control, ControlHost* ParentHost);
  void Attach(Platform::TCustomControl* Control);
  void Detach();
  void OnControlPainted();
  ControlHost* TopHost();
  void FollowChildren();
  // Lets go of this host's control and its children's without touching them.
  void Forget();
  void FollowCursor();
  void PickFromList(Platform::TComboBox* Combo);
  // Runs a hand-on of input: errors must not cross Qt's event loop.
  template <class F>
  void Guarded(F&& HandOn);

  Platform::TCustomControl* FControl = nullptr;
  ControlHost* FParentHost = nullptr;  // null for the top host
  std::vector<ControlHost*> FChildren;
  Platform::TNotifyEvent FFormerPaintedHandler;
  Platform::TCursor FShownCursor = Platform::crDefault;
  bool FCursorShown = false;
  bool FPainting = false;
  WheelHandler FWheelHandler;
  ListPicker FListPicker;
};

}  // namespace lumivar_qt
