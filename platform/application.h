// The application object with its message queue, the screen with its cursor
// table, and the clipboard. Headless: a host (a test, a viewer) queues input
// and ProcessMessages delivers it to the controls.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/controls.h"
#include "platform/graphics.h"

namespace Platform {

// A cursor image: AND and XOR masks, one bit per pixel with the leftmost
// pixel in the high bit, rows padded to bytes. AND 1 keeps the screen pixel
// (XOR 1 inverts it); AND 0 paints black (XOR 0) or white (XOR 1).
struct TCursorShape {
  int32_t Width = 0, Height = 0;
  int32_t HotSpotX = 0, HotSpotY = 0;
  std::vector<uint8_t> AndMask;
  std::vector<uint8_t> XorMask;
};
using HCURSOR = std::shared_ptr<const TCursorShape>;

class TApplication : public TComponent {
 public:
  TApplication() : TComponent(nullptr) {}
  std::string ClassName() const override { return "TApplication"; }

  // Delivers every queued message (including those queued while delivering),
  // then paints the controls that asked for it. When the queue is empty the
  // idle handler runs once, so a host can feed a modal loop.
  void ProcessMessages();

  void PostMouseDown(TControl* c, TMouseButton b, TShiftState s, int32_t x, int32_t y);
  void PostMouseMove(TControl* c, TShiftState s, int32_t x, int32_t y);
  void PostMouseUp(TControl* c, TMouseButton b, TShiftState s, int32_t x, int32_t y);
  void PostDblClick(TControl* c);
  // Any other work to run from the message loop.
  void Post(std::function<void()> message);
  int32_t PendingMessages() const { return static_cast<int32_t>(FQueue.size()); }
  void ClearMessages() { FQueue.clear(); }

  void SetOnIdle(std::function<void()> h) { FOnIdle = std::move(h); }
  // Whether anything outside the queue can still bring input: without an
  // idle handler an empty queue stays empty.
  bool HasIdleHandler() const { return static_cast<bool>(FOnIdle); }

  // Controls register themselves to be painted and to have queued input
  // dropped once they are gone.
  void InvalidateControl(TCustomControl* c);
  void ForgetControl(TControl* c);

 private:
  struct Message {
    TControl* Target;
    std::function<void()> Deliver;
  };
  std::deque<Message> FQueue;
  std::vector<TCustomControl*> FInvalid;
  std::function<void()> FOnIdle;
};

class TScreen : public TComponent {
 public:
  TScreen() : TComponent(nullptr) {}
  std::string ClassName() const override { return "TScreen"; }

  // Cursor table: number -> image. Standard numbers have no image here
  // (the host draws its own); registered numbers return what was registered.
  HCURSOR Cursors(int32_t index) const;
  void SetCursors(int32_t index, HCURSOR cursor);
  bool HasCursor(int32_t index) const;
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v) { FCursor = v; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetSize(int32_t w, int32_t h) {
    FWidth = w;
    FHeight = h;
  }
  int32_t PixelsPerInch() const { return 96; }

 private:
  std::map<int32_t, HCURSOR> FCursors;
  TCursor FCursor = crDefault;
  int32_t FWidth = 1920, FHeight = 1080;
};

constexpr uint16_t CF_BITMAP = 2;

// Holds one picture. Assigning a bitmap copies it; a bitmap assigned from
// the clipboard copies it back. OnChange tells a host (which mirrors the
// picture to the desktop's clipboard) that the content changed.
class TClipboard : public TPersistent {
 public:
  std::string ClassName() const override { return "TClipboard"; }
  void Assign(const TPersistent* Source) override;
  bool HasFormat(uint16_t format) const { return format == CF_BITMAP && FBitmap != nullptr; }
  void Clear();
  const TBitmap* Bitmap() const { return FBitmap.get(); }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& h) { FOnChange = h; }

 protected:
  void AssignTo(TPersistent* Dest) const override;

 private:
  std::unique_ptr<TBitmap> FBitmap;
  TNotifyEvent FOnChange;
  void Changed() {
    if (FOnChange) FOnChange(this);
  }
};

extern TApplication* const Application;
extern TScreen* const Screen;
TClipboard* Clipboard();

}  // namespace Platform
