// The drawing layer on screen: a window's paint handler hands its Cairo context to a device
// and the test card is drawn through it.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

#include "platform/draw/DeviceContext.h"
#include "view/draw/TestCard.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {
namespace {

TEST(DrawingPanel, PaintsTheTestCardThroughTheDevice) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Test card", wxDefaultPosition, wxSize(820, 900));
  int painted = 0;
  int32_t dpi = 0;
  bool threw = false;
  auto* panel = new DrawingPanel(frame, [&](DeviceContext& dc) {
    ++painted;
    dpi = dc.LogPixelsY();
    DrawTestCard(dc, 100);
  });
  frame->Show();
  panel->Refresh();
  panel->Update();
  for (int i = 0; i < 20 && painted == 0; ++i) wxTheApp->Yield(true);
  EXPECT_GT(painted, 0);
  EXPECT_GT(dpi, 0);
  // A painter that throws does not take the window system down.
  panel->SetPainter([&](DeviceContext&) {
    threw = true;
    throw std::runtime_error("drawing failed");
  });
  panel->Update();
  for (int i = 0; i < 20 && !threw; ++i) wxTheApp->Yield(true);
  EXPECT_TRUE(threw);
  EXPECT_TRUE(frame->Close(true));
  wxTheApp->ProcessIdle();
}

}  // namespace
}  // namespace vornel
