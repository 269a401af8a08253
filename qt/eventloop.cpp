#include "qt/eventloop.h"

#include <QAbstractEventDispatcher>
#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include "platform/application.h"
#include "qt/controlhost.h"
#include "qt/cursors.h"
#include "qt/surfaceimage.h"

namespace lumivar_qt {

namespace {

// A modal loop waits at most this long in Qt's loop per round, so that a
// plain ProcessMessages call outside any loop never hangs.
constexpr int kIdleWaitMs = 100;

struct TConnection {
  QPointer<QCoreApplication> app;
  // Set while our own ProcessMessages call starts on an empty queue: its
  // idle round must not wait. A modal loop started by a message it
  // delivers waits as usual.
  bool skipIdle = false;
  QTimer* wakeUp = nullptr;  // owned by the application object
};

TConnection& Connection() {
  static TConnection c;
  return c;
}

// The platform's idle handler: wait in Qt's loop until the user does
// something (or the wake-up timer fires).
void WaitForQtEvents() {
  TConnection& c = Connection();
  if (c.skipIdle) {
    c.skipIdle = false;
    return;
  }
  if (c.app.isNull()) return;
  c.wakeUp->start(kIdleWaitMs);
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  c.wakeUp->stop();
}

void MirrorClipboard() {
  const Platform::TBitmap* picture = Platform::Clipboard()->Bitmap();
  QClipboard* desktop = QGuiApplication::clipboard();
  if (picture == nullptr || picture->Empty())
    desktop->clear();
  else
    desktop->setImage(ToQImage(*picture));
}

void Disconnect() {
  Platform::Application->SetOnIdle({});
  Platform::Clipboard()->SetOnChange({});
  Connection() = TConnection{};
}

}  // namespace

void ConnectPlatformToQt() {
  TConnection& c = Connection();
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || c.app == app) return;
  c.app = app;
  c.wakeUp = new QTimer(app);
  c.wakeUp->setSingleShot(true);
  QObject::connect(app, &QObject::destroyed, [] { Disconnect(); });
  QObject::connect(QAbstractEventDispatcher::instance(app->thread()),
                   &QAbstractEventDispatcher::aboutToBlock, app, [] { ProcessPlatformMessages(); });
  Platform::Application->SetOnIdle(WaitForQtEvents);
  if (qobject_cast<QGuiApplication*>(app) != nullptr)
    Platform::Clipboard()->SetOnChange([](Platform::TObject*) { MirrorClipboard(); });
  RegisterLibraryCursors();
}

void ProcessPlatformMessages() {
  TConnection& c = Connection();
  c.skipIdle = Platform::Application->PendingMessages() == 0;
  Platform::Application->ProcessMessages();
  c.skipIdle = false;
  ControlHost::FollowAllControls();
}

}  // namespace lumivar_qt
