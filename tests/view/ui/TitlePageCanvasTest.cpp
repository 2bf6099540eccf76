// The title-page view in its window: it opens with the paper's scroll size, paints the title
// page, and a drag made of the window's own mouse events moves the title there.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <memory>

#include "document/CDocumentSettings.h"
#include "document/CTitlePage.h"
#include "document/CVornelTabDoc.h"
#include "platform/draw/CairoDevice.h"
#include "support/ScriptedPrompts.h"
#include "view/ui/CanvasWindow.h"
#include "view/ui/titlepage/TitlePageCanvas.h"

namespace vornel {
namespace {

struct TitlePageCanvasTest : ::testing::Test {
  testing::ScriptedPrompts prompts;
  std::unique_ptr<CVornelTabDoc> doc = [] {
    auto d = std::make_unique<CVornelTabDoc>();
    d->OnNewDocument();
    d->settings.pageSettings.paperFormat = 9;
    d->settings.pageSettings.zoom = 100;
    d->settings.texts.ClearTexts();
    CTrackText& title = d->settings.titlePage.Text(CTitlePage::kTitle);
    title.text = "Lachrimae";
    title.font.pointSize.cx = 300;
    title.x = 150;
    title.y = 120;
    d->settings.titlePage.frameStyle = 1;
    return d;
  }();
  testing::CanvasWindow<view::TitlePageCanvas> shown{"Title page", *doc};
  wxFrame* frame = shown.frame;
  view::TitlePageCanvas* canvas = shown.canvas;

  void Paint() { shown.Paint(); }
  void Send(wxEventType type, wxPoint at, bool leftDown) {
    wxMouseEvent event(type);
    event.SetEventObject(canvas);
    event.m_x = at.x;
    event.m_y = at.y;
    event.m_leftDown = leftDown;
    canvas->GetEventHandler()->ProcessEvent(event);
  }
};

TEST_F(TitlePageCanvasTest, PaintsThePaperAndADragOfTheWindowsMouseMovesTheTitle) {
  frame->Show();
  Paint();
  // A4 at the screen's resolution, with room beside and below.
  const int dpi = canvas->GetDPI().x > 0 ? canvas->GetDPI().x : 96;
  EXPECT_EQ(canvas->GetVirtualSize(), wxSize((2100 * dpi + 127) / 254 + 200, (2970 * dpi + 127) / 254 + 100));

  // What the window shows: the paper's white.
  const wxSize client = canvas->GetClientSize();
  ImageDevice shown(client.x, client.y);
  canvas->PaintInto(shown);
  const DeviceBitmap bitmap = shown.ToBitmap();
  ASSERT_EQ(canvas->View().Elements().size(), 1u);
  const Rect& drawn = canvas->View().Elements().front().rect;
  EXPECT_EQ(bitmap.GetPixel(drawn.left - 20, drawn.top - 20) & 0xFFFFFF, 0xFFFFFFu);

  const Rect before = canvas->View().Elements().front().rect;
  const wxPoint from(before.CenterPoint().x, before.CenterPoint().y);
  Send(wxEVT_LEFT_DOWN, from, true);
  EXPECT_TRUE(canvas->View().Dragging());
  Send(wxEVT_MOTION, from + wxPoint(30, 15), true);
  ASSERT_TRUE(canvas->View().TrackerRect());
  EXPECT_EQ(canvas->View().TrackerRect()->left, before.left + 30);
  Send(wxEVT_LEFT_UP, from + wxPoint(40, 20), false);
  EXPECT_FALSE(canvas->View().Dragging());
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->settings.titlePage.Text(CTitlePage::kTitle).x, 190);
  EXPECT_EQ(doc->settings.titlePage.Text(CTitlePage::kTitle).y, 140);
  Paint();
  Rect after = before;
  after.Offset(40, 20);
  EXPECT_EQ(canvas->View().Elements().front().rect, after);
}

}  // namespace
}  // namespace vornel
