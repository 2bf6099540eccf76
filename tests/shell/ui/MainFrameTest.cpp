// Starts the window system, shows the main frame and closes it again.

#include <gtest/gtest.h>
#include <wx/app.h>

#include "shell/ui/MainFrame.h"

namespace vornel {
namespace {

TEST(MainFrame, OpensWithTheApplicationNameAndCloses) {
  auto* frame = new CMainFrame;
  frame->Show();
  wxTheApp->Yield(true);
  EXPECT_TRUE(frame->IsShown());
  EXPECT_EQ(frame->GetTitle().ToStdString(), "Vornel Tablature Composer");
  EXPECT_TRUE(frame->Close(true));
  wxTheApp->ProcessIdle();  // deletes the closed frame
  EXPECT_TRUE(wxTopLevelWindows.empty());
}

}  // namespace
}  // namespace vornel
