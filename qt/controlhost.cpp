#include "qt/controlhost.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>
#include <algorithm>
#include <exception>

#include "qt/cursors.h"
#include "qt/eventloop.h"
#include "qt/surfaceimage.h"

namespace lumivar_qt {

using Platform::TShiftState;

namespace {

std::vector<ControlHost*>& TopHosts() {
  static std::vector<ControlHost*> hosts;
  return hosts;
}

bool ButtonOf(Qt::MouseButton qt, Platform::TMouseButton& button) {
  switch (qt) {
    case Qt::LeftButton:
      button = Platform::mbLeft;
      return true;
    case Qt::RightButton:
      button = Platform::mbRight;
      return true;
    case Qt::MiddleButton:
      button = Platform::mbMiddle;
      return true;
    default:
      return false;
  }
}

TShiftState ShiftOf(Qt::KeyboardModifiers keys, Qt::MouseButtons held) {
  TShiftState s = 0;
  if (keys & Qt::ShiftModifier) s |= Platform::ssShift;
  if (keys & Qt::ControlModifier) s |= Platform::ssCtrl;
  if (keys & Qt::AltModifier) s |= Platform::ssAlt;
  if (held & Qt::LeftButton) s |= Platform::ssLeft;
  if (held & Qt::RightButton) s |= Platform::ssRight;
  if (held & Qt::MiddleButton) s |= Platform::ssMiddle;
  return s;
}

TShiftState ShiftOf(const QMouseEvent* e) {
  return ShiftOf(e->modifiers(), e->buttons());
}

QColor QColorOf(Platform::TColor c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

int MenuPick(const QStringList& items, int current, const QPoint& at) {
  QMenu menu;
  for (int i = 0; i < items.size(); ++i) {
    QAction* a = menu.addAction(items[i]);
    a->setCheckable(true);
    a->setChecked(i == current);
    a->setData(i);
  }
  const QAction* chosen = menu.exec(at);
  return chosen != nullptr ? chosen->data().toInt() : -1;
}

}  // namespace

ControlHost::ControlHost(Platform::TCustomControl* Control, QWidget* Parent) : QWidget(Parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  ConnectPlatformToQt();
  TopHosts().push_back(this);
  Attach(Control);
}

ControlHost::ControlHost(Platform::TCustomControl* Control, ControlHost* ParentHost)
    : QWidget(ParentHost), FParentHost(ParentHost) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  Attach(Control);
}

ControlHost::~ControlHost() {
  Detach();
  auto& hosts = TopHosts();
  hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
}

void ControlHost::SetControl(Platform::TCustomControl* Control) {
  if (Control == FControl) return;
  Detach();
  Attach(Control);
  update();
}

void ControlHost::Attach(Platform::TCustomControl* Control) {
  FControl = Control;
  FCursorShown = false;
  if (FControl == nullptr) return;
  FFormerPaintedHandler = FControl->OnSurfacePainted();
  // A host gone before its control leaves a handler that does nothing.
  FControl->SetOnSurfacePainted(
      [host = QPointer<ControlHost>(this), former = FFormerPaintedHandler](Platform::TObject* s) {
        if (former) former(s);
        if (host) host->OnControlPainted();
      });
  if (FParentHost == nullptr) {
    // A shown widget sizes the control; a new one takes the control's size.
    if (isVisible())
      FControl->SetBounds(FControl->Left(), FControl->Top(), width(), height());
    else if (FControl->Width() > 0 && FControl->Height() > 0)
      resize(FControl->Width(), FControl->Height());
  }
  FollowControls();
}

void ControlHost::Detach() {
  for (ControlHost* child : FChildren) delete child;
  FChildren.clear();
  if (FControl != nullptr) FControl->SetOnSurfacePainted(FFormerPaintedHandler);
  FFormerPaintedHandler = nullptr;
  FControl = nullptr;
}

ControlHost* ControlHost::TopHost() {
  ControlHost* h = this;
  while (h->FParentHost != nullptr) h = h->FParentHost;
  return h;
}

ControlHost* ControlHost::HostOf(const Platform::TControl* Control) {
  if (Control == nullptr) return nullptr;
  if (Control == FControl) return this;
  for (ControlHost* child : FChildren)
    if (ControlHost* h = child->HostOf(Control)) return h;
  return nullptr;
}

void ControlHost::SetWheelHandler(WheelHandler Handler) {
  FWheelHandler = std::move(Handler);
}

void ControlHost::SetListPicker(ListPicker Picker) {
  FListPicker = std::move(Picker);
}

QSize ControlHost::sizeHint() const {
  if (FControl == nullptr || FControl->Width() <= 0 || FControl->Height() <= 0)
    return QWidget::sizeHint();
  return QSize(FControl->Width(), FControl->Height());
}

// ---------------------------------------------------------------- following the controls

void ControlHost::FollowAllControls() {
  const std::vector<ControlHost*> hosts = TopHosts();
  for (ControlHost* h : hosts) h->FollowControls();
}

void ControlHost::FollowControls() {
  FollowChildren();
  FollowCursor();
}

void ControlHost::FollowChildren() {
  std::vector<ControlHost*> kept;
  const int32_t count = FControl != nullptr ? FControl->ControlCount() : 0;
  for (int32_t i = 0; i < count; ++i) {
    auto* child = dynamic_cast<Platform::TCustomControl*>(FControl->Controls(i));
    if (child == nullptr) continue;
    auto it = std::find_if(FChildren.begin(), FChildren.end(),
                           [child](const ControlHost* h) { return h->FControl == child; });
    ControlHost* host = it != FChildren.end() ? *it : new ControlHost(child, this);
    host->setGeometry(child->Left(), child->Top(), child->Width(), child->Height());
    host->setVisible(child->Visible());
    host->FollowControls();
    kept.push_back(host);
  }
  for (ControlHost* gone : FChildren)
    if (std::find(kept.begin(), kept.end(), gone) == kept.end()) {
      // The control left the tree (and may be gone): never touch it. The
      // widget may be handling the input that removed it.
      gone->Forget();
      gone->hide();
      gone->deleteLater();
    }
  FChildren = std::move(kept);
}

void ControlHost::Forget() {
  // its children left the tree with it and may have been freed with it
  FControl = nullptr;
  FFormerPaintedHandler = nullptr;
  for (ControlHost* child : FChildren) child->Forget();
}

void ControlHost::FollowCursor() {
  const Platform::TCursor c = EffectiveCursor(FControl);
  if (FCursorShown && c == FShownCursor) return;
  setCursor(CursorFor(c));
  FShownCursor = c;
  FCursorShown = true;
}

void ControlHost::OnControlPainted() {
  // a paint asked for by our own paintEvent is shown by it
  if (!FPainting) update();
  emit TopHost()->SurfacePainted(FControl);
}

// ---------------------------------------------------------------- painting and size

void ControlHost::paintEvent(QPaintEvent* Event) {
  QPainter painter(this);
  const QRect exposed = Event->rect();
  if (FControl == nullptr) {
    painter.fillRect(exposed, palette().window());
    return;
  }
  if (FControl->NeedsPaint()) {
    FPainting = true;
    Guarded([this] { FControl->Repaint(); });
    FPainting = false;
  }
  // The window surface is drawn where it is, without a copy of its pixels.
  const QImage picture = SurfaceImage(*FControl->Surface());
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(exposed.topLeft(), picture, exposed);
  // between a resize and the control's next paint the surface may be smaller
  const QRegion uncovered = QRegion(exposed).subtracted(QRegion(picture.rect()));
  for (const QRect& r : uncovered) painter.fillRect(r, QColorOf(FControl->Color()));
}

void ControlHost::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  if (FControl == nullptr || FParentHost != nullptr) return;
  Guarded([this] { FControl->SetBounds(FControl->Left(), FControl->Top(), width(), height()); });
  FollowControls();
}

// ---------------------------------------------------------------- mouse

template <class F>
void ControlHost::Guarded(F&& HandOn) {
  QString failure;
  try {
    HandOn();
  } catch (const std::exception& e) {
    failure = QString::fromUtf8(e.what());
  } catch (...) {
    failure = QStringLiteral("unknown error");
  }
  if (failure.isEmpty()) return;
  ControlHost* top = TopHost();
  if (top->receivers(SIGNAL(ErrorRaised(QString))) > 0)
    emit top->ErrorRaised(failure);
  else
    qWarning("lumivar_qt: %s", qUtf8Printable(failure));
}

void ControlHost::mousePressEvent(QMouseEvent* Event) {
  Platform::TMouseButton button;
  if (FControl == nullptr || !ButtonOf(Event->button(), button))
    return QWidget::mousePressEvent(Event);
  // Qt follows the second press of a double click with the double click;
  // the control hears of that press from there, marked as double.
  if (Event->flags() & Qt::MouseEventCreatedDoubleClick) return;
  const QPoint at = Event->position().toPoint();
  Guarded([&] { FControl->DispatchMouseDown(button, ShiftOf(Event), at.x(), at.y()); });
  ProcessPlatformMessages();
}

void ControlHost::mouseMoveEvent(QMouseEvent* Event) {
  if (FControl == nullptr) return QWidget::mouseMoveEvent(Event);
  const QPoint at = Event->position().toPoint();
  if (FControl->Enabled()) Guarded([&] { FControl->MouseMove(ShiftOf(Event), at.x(), at.y()); });
  // the control may be gone from this host after its handlers ran
  if (FControl != nullptr) emit TopHost()->MouseMovedOver(FControl, at.x(), at.y());
  ProcessPlatformMessages();
}

void ControlHost::mouseReleaseEvent(QMouseEvent* Event) {
  Platform::TMouseButton button;
  if (FControl == nullptr || !ButtonOf(Event->button(), button))
    return QWidget::mouseReleaseEvent(Event);
  const QPoint at = Event->position().toPoint();
  Guarded([&] { FControl->DispatchMouseUp(button, ShiftOf(Event), at.x(), at.y()); });
  ProcessPlatformMessages();
  // a combo box lists its items when clicked
  auto* combo = dynamic_cast<Platform::TComboBox*>(FControl);
  if (combo != nullptr && button == Platform::mbLeft && rect().contains(at)) PickFromList(combo);
}

void ControlHost::mouseDoubleClickEvent(QMouseEvent* Event) {
  Platform::TMouseButton button;
  if (FControl == nullptr || !ButtonOf(Event->button(), button))
    return QWidget::mouseDoubleClickEvent(Event);
  const QPoint at = Event->position().toPoint();
  Guarded([&] {
    if (!FControl->Enabled()) return;
    // The second press of a double click: the control hears of the double
    // click first, then of a press marked ssDouble, which makes no click.
    // A control without double clicks takes it as a plain press.
    if (FControl->ControlStyle() & Platform::csDoubleClicks) {
      FControl->DblClick();
      FControl->MouseDown(button, ShiftOf(Event) | Platform::ssDouble, at.x(), at.y());
    } else {
      FControl->DispatchMouseDown(button, ShiftOf(Event), at.x(), at.y());
    }
  });
  ProcessPlatformMessages();
}

void ControlHost::wheelEvent(QWheelEvent* Event) {
  const WheelHandler& handler = TopHost()->FWheelHandler;
  const double notches = Event->angleDelta().y() / 120.0;
  if (FControl == nullptr || !handler || notches == 0) return QWidget::wheelEvent(Event);
  const QPoint at = Event->position().toPoint();
  Guarded([&] {
    handler(FControl, Platform::TPoint{at.x(), at.y()}, notches,
            ShiftOf(Event->modifiers(), Event->buttons()));
  });
  Event->accept();
  ProcessPlatformMessages();
}

void ControlHost::leaveEvent(QEvent* Event) {
  QWidget::leaveEvent(Event);
  // leaving a child for its parent or a sibling is not leaving the tree
  if (FParentHost == nullptr) emit MouseLeft();
}

void ControlHost::PickFromList(Platform::TComboBox* Combo) {
  QStringList items;
  for (int32_t i = 0; i < Combo->Items()->Count(); ++i)
    items << QString::fromStdString(Combo->Items()->Strings(i));
  const ListPicker& picker = TopHost()->FListPicker;
  const QPoint at = mapToGlobal(rect().bottomLeft());
  const int chosen =
      picker ? picker(items, Combo->ItemIndex(), at) : MenuPick(items, Combo->ItemIndex(), at);
  // the list was modal: the control may have left this host meanwhile
  if (chosen < 0 || chosen >= items.size() || FControl != Combo) return;
  Guarded([&] { Combo->SelectByUser(chosen); });
  ProcessPlatformMessages();
}

}  // namespace lumivar_qt
