// Headless controls: layout, window surface and painting, mouse delivery,
// speed button groups, combo box, clipboard and cursor table.
#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/errors.h"

using namespace Platform;

namespace {

// A control that paints its surface blue and records what reaches it.
class Probe : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int paints = 0;
  std::vector<std::string> log;
  void MouseDown(TMouseButton b, TShiftState s, int32_t x, int32_t y) override {
    log.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) +
                  "," + std::to_string(y));
    TCustomControl::MouseDown(b, s, x, y);
  }
  void MouseMove(TShiftState s, int32_t x, int32_t y) override {
    log.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    TCustomControl::MouseMove(s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int32_t x, int32_t y) override {
    log.push_back("up " + std::to_string(b));
    TCustomControl::MouseUp(b, s, x, y);
  }

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(ClientRect());
  }
};

}  // namespace

TEST(Controls, AlignedChildrenShareTheParentsClientArea) {
  TPanel host(nullptr);
  host.SetBounds(0, 0, 400, 300);
  TPanel top(&host), bottom(&host);
  Probe client(&host);
  top.SetParent(&host);
  top.SetHeight(33);
  top.SetAlign(alTop);
  client.SetParent(&host);
  client.SetAlign(alClient);
  bottom.SetParent(&host);
  bottom.SetHeight(20);
  bottom.SetAlign(alBottom);
  EXPECT_EQ(top.BoundsRect(), Rect(0, 0, 400, 33));
  EXPECT_EQ(bottom.BoundsRect(), Rect(0, 280, 400, 300));
  EXPECT_EQ(client.BoundsRect(), Rect(0, 33, 400, 280));
  // hiding the panel gives its room to the client; resizing the parent follows
  top.SetVisible(false);
  EXPECT_EQ(client.BoundsRect(), Rect(0, 0, 400, 280));
  host.SetBounds(0, 0, 500, 400);
  EXPECT_EQ(client.BoundsRect(), Rect(0, 0, 500, 380));
  EXPECT_EQ(client.Surface()->Width(), 500);
  EXPECT_EQ(client.Surface()->Height(), 380);
  EXPECT_EQ(host.ControlCount(), 3);
}

TEST(Controls, SurfacePaintsOnRepaintAndOnProcessMessages) {
  Probe p(nullptr);
  int resized = 0;
  p.SetOnResize([&](TObject*) { ++resized; });
  p.SetBounds(0, 0, 20, 10);
  EXPECT_EQ(resized, 1);
  p.Repaint();
  EXPECT_EQ(p.paints, 1);
  EXPECT_EQ(p.Canvas()->Pixels(19, 9), clBlue);
  p.Invalidate();
  p.Invalidate();
  EXPECT_EQ(p.paints, 1);
  Application->ProcessMessages();
  EXPECT_EQ(p.paints, 2);  // once for both requests
  EXPECT_FALSE(p.NeedsPaint());

  // a new control gets its first paint from the message loop unasked
  Probe fresh(nullptr);
  fresh.SetBounds(0, 0, 8, 8);
  Application->ProcessMessages();
  EXPECT_EQ(fresh.paints, 1);
  EXPECT_EQ(fresh.Canvas()->Pixels(7, 7), clBlue);
}

TEST(Controls, QueuedMouseInputReachesTheControlWithClicks) {
  Probe p(nullptr);
  p.SetBounds(0, 0, 100, 100);
  int clicks = 0, dbl = 0, downs = 0;
  p.SetOnClick([&](TObject*) { ++clicks; });
  p.SetOnDblClick([&](TObject*) { ++dbl; });
  p.SetOnMouseDown([&](TObject* s, TMouseButton, TShiftState sh, int32_t, int32_t) {
    EXPECT_EQ(s, &p);
    EXPECT_EQ(sh, ssLeft | ssCtrl);
    ++downs;
  });
  Application->PostMouseDown(&p, mbLeft, ssLeft | ssCtrl, 10, 20);
  Application->PostMouseMove(&p, ssLeft, 15, 25);
  Application->PostMouseUp(&p, mbLeft, 0, 15, 25);
  Application->PostMouseDown(&p, mbLeft, ssLeft | ssCtrl, 10, 20);
  Application->PostMouseUp(&p, mbLeft, 0, 150, 25);  // released outside: no click
  Application->PostDblClick(&p);
  EXPECT_EQ(Application->PendingMessages(), 6);
  Application->ProcessMessages();
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(p.log[0], "down 0 12 10,20");
  EXPECT_EQ(p.log[1], "move 8 15,25");
  EXPECT_EQ(p.log[2], "up 0");
}

TEST(Controls, ModalLoopIsFedByTheIdleHandlerAndGoneControlsGetNoInput) {
  int polls = 0;
  Application->SetOnIdle([&] { ++polls; });
  Application->ProcessMessages();
  EXPECT_EQ(polls, 1);
  Application->SetOnIdle(nullptr);
  auto* p = new Probe(nullptr);
  Application->PostMouseMove(p, 0, 1, 1);
  delete p;  // its queued input is dropped
  EXPECT_EQ(Application->PendingMessages(), 0);
  Application->ProcessMessages();
}

TEST(Controls, SpeedButtonsOfAGroupHaveOneDown) {
  TPanel panel(nullptr);
  TSpeedButton a(&panel), b(&panel);
  a.SetParent(&panel);
  b.SetParent(&panel);
  a.SetGroupIndex(999);
  b.SetGroupIndex(999);
  a.SetFlat(true);
  a.SetDown(true);
  int clicked = 0;
  b.SetOnClick([&](TObject*) { ++clicked; });
  b.Click();
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  EXPECT_EQ(clicked, 1);
  b.Click();  // clicking the down button keeps it down
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(clicked, 2);
  // a press and release delivered through the queue clicks too
  Application->PostMouseDown(&a, mbLeft, ssLeft, 3, 3);
  Application->PostMouseUp(&a, mbLeft, 0, 3, 3);
  Application->ProcessMessages();
  EXPECT_TRUE(a.Down());
  EXPECT_FALSE(b.Down());
  // buttons outside any group never stay down
  TSpeedButton c(nullptr);
  c.SetDown(true);
  EXPECT_FALSE(c.Down());
}

TEST(Controls, SpeedButtonShowsTheGlyphImageOfItsState) {
  TBitmap glyph;
  glyph.SetPixelFormat(pf8bit);
  glyph.SetSize(40, 20);  // two 20 x 20 images
  glyph.Canvas()->Brush()->SetColor(clLime);
  glyph.Canvas()->FillRect(Rect(0, 0, 40, 20));  // lime: transparent (bottom-left)
  glyph.Canvas()->SetPixels(5, 5, clRed);
  glyph.Canvas()->SetPixels(25, 5, clBlue);
  TSpeedButton s(nullptr);
  s.SetBounds(0, 0, 26, 26);
  s.SetGlyph(&glyph);
  EXPECT_EQ(s.NumGlyphs(), 2);
  s.Repaint();
  EXPECT_EQ(s.Canvas()->Pixels(3 + 5, 3 + 5), clRed);
  EXPECT_NE(s.Canvas()->Pixels(3, 3), clLime);
}

TEST(Controls, ComboBoxItemsAndSelection) {
  TComboBox c(nullptr);
  c.SetStyle(csDropDownList);
  int changes = 0;
  c.SetOnChange([&](TObject*) { ++changes; });
  EXPECT_EQ(c.ItemIndex(), -1);
  c.Items()->Add("Alps");
  c.Items()->Add("Andes");
  c.SetItemIndex(1);
  EXPECT_EQ(c.Text(), "Andes");
  EXPECT_EQ(changes, 0);  // setting it in code fires nothing
  c.SetItemIndex(7);
  EXPECT_EQ(c.ItemIndex(), -1);
  c.SelectByUser(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(c.ItemIndex(), 0);
  c.Items()->Clear();
  EXPECT_EQ(c.ItemIndex(), -1);
  EXPECT_EQ(c.Items()->Count(), 0);
  c.Repaint();
}

TEST(Controls, ClipboardHoldsACopyOfABitmap) {
  TBitmap b;
  b.SetSize(5, 4);
  b.Canvas()->SetPixels(1, 1, clRed);
  Clipboard()->Assign(&b);
  b.Canvas()->SetPixels(1, 1, clBlue);  // a copy, not a reference
  ASSERT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  TBitmap r;
  r.Assign(Clipboard());
  EXPECT_EQ(r.Width(), 5);
  EXPECT_EQ(r.Canvas()->Pixels(1, 1), clRed);
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_THROW(r.Assign(Clipboard()), EConvertError);
}

TEST(Controls, ClipboardTellsOfEveryChange) {
  int changes = 0;
  Clipboard()->SetOnChange([&](TObject* sender) {
    EXPECT_EQ(sender, Clipboard());
    ++changes;
  });
  TBitmap b;
  b.SetSize(2, 2);
  Clipboard()->Assign(&b);
  EXPECT_EQ(changes, 1);
  TBitmap r;
  r.Assign(Clipboard());  // reading changes nothing
  EXPECT_EQ(changes, 1);
  Clipboard()->Clear();
  EXPECT_EQ(changes, 2);
  Clipboard()->SetOnChange({});
}

TEST(Controls, ScreenCursorTable) {
  auto shape = std::make_shared<TCursorShape>();
  shape->Width = shape->Height = 32;
  shape->HotSpotX = 6;
  Screen->SetCursors(1000, shape);
  EXPECT_EQ(Screen->Cursors(1000)->HotSpotX, 6);
  EXPECT_TRUE(Screen->HasCursor(crHandPoint));
  EXPECT_FALSE(Screen->HasCursor(1001));
  Screen->SetCursors(1000, nullptr);
  EXPECT_EQ(Screen->Cursors(1000), nullptr);
  TCustomControl c(nullptr);
  c.SetCursor(1000);
  EXPECT_EQ(c.Cursor(), 1000);
}
