// Starts the window system, shows the main frame and closes it again.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include "platform/fonts/FontRegistration.h"
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

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  EXPECT_TRUE(vornel::RegisterShippedFonts());
  // Only the program name goes to the window system: test options are not its business.
  wxApp::SetInstance(new wxApp);
  int wxArgc = 1;
  char* wxArgv[] = {argv[0], nullptr};
  if (!wxEntryStart(wxArgc, wxArgv)) {
    std::fprintf(stderr, "cannot start the window system\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  const int result = RUN_ALL_TESTS();
  wxEntryCleanup();
  return result;
}
