// The application's message queue, the screen's cursor table and the clipboard.
#include "platform/application.h"

#include <algorithm>

namespace Platform {

namespace {
TApplication& TheApplication() {
  static TApplication app;
  return app;
}
TScreen& TheScreen() {
  static TScreen screen;
  return screen;
}
}  // namespace

TApplication* const Application = &TheApplication();
TScreen* const Screen = &TheScreen();

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

// ---------------------------------------------------------------- TApplication

void TApplication::ProcessMessages() {
  if (FQueue.empty() && FOnIdle) FOnIdle();
  while (!FQueue.empty()) {
    Message m = std::move(FQueue.front());
    FQueue.pop_front();
    m.Deliver();
  }
  // paint what asked for it, in the order asked
  std::vector<TCustomControl*> invalid;
  invalid.swap(FInvalid);
  for (TCustomControl* c : invalid)
    if (c->NeedsPaint()) c->Repaint();
}

void TApplication::PostMouseDown(TControl* c, TMouseButton b, TShiftState s, int32_t x, int32_t y) {
  FQueue.push_back({c, [=] { c->DispatchMouseDown(b, s, x, y); }});
}

void TApplication::PostMouseMove(TControl* c, TShiftState s, int32_t x, int32_t y) {
  FQueue.push_back({c, [=] {
                      if (c->Enabled()) c->MouseMove(s, x, y);
                    }});
}

void TApplication::PostMouseUp(TControl* c, TMouseButton b, TShiftState s, int32_t x, int32_t y) {
  FQueue.push_back({c, [=] { c->DispatchMouseUp(b, s, x, y); }});
}

void TApplication::PostDblClick(TControl* c) {
  FQueue.push_back({c, [=] {
                      if (c->Enabled() && (c->ControlStyle() & csDoubleClicks)) c->DblClick();
                    }});
}

void TApplication::Post(std::function<void()> message) {
  FQueue.push_back({nullptr, std::move(message)});
}

void TApplication::InvalidateControl(TCustomControl* c) {
  if (std::find(FInvalid.begin(), FInvalid.end(), c) == FInvalid.end()) FInvalid.push_back(c);
}

void TApplication::ForgetControl(TControl* c) {
  FQueue.erase(
      std::remove_if(FQueue.begin(), FQueue.end(), [c](const Message& m) { return m.Target == c; }),
      FQueue.end());
  FInvalid.erase(std::remove(FInvalid.begin(), FInvalid.end(), c), FInvalid.end());
}

// ---------------------------------------------------------------- TScreen

HCURSOR TScreen::Cursors(int32_t index) const {
  auto it = FCursors.find(index);
  return it == FCursors.end() ? nullptr : it->second;
}

void TScreen::SetCursors(int32_t index, HCURSOR cursor) {
  if (cursor)
    FCursors[index] = std::move(cursor);
  else
    FCursors.erase(index);
}

bool TScreen::HasCursor(int32_t index) const {
  return FCursors.count(index) != 0 || (index <= 0 && index >= -22);
}

// ---------------------------------------------------------------- TClipboard

void TClipboard::Assign(const TPersistent* Source) {
  if (const auto* b = dynamic_cast<const TBitmap*>(Source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(b);
    FBitmap = std::move(copy);
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TClipboard::Clear() {
  FBitmap.reset();
  Changed();
}

void TClipboard::AssignTo(TPersistent* Dest) const {
  if (auto* b = dynamic_cast<TBitmap*>(Dest); b != nullptr && FBitmap) {
    b->Assign(FBitmap.get());
    return;
  }
  TPersistent::AssignTo(Dest);
}

}  // namespace Platform
