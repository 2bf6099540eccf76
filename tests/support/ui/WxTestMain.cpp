// The main of every test binary that needs the window system: registers the shipped fonts,
// starts wxWidgets with only the program name (test options are not its business), guards
// against modal dialogs no test drives and failed checks of the window system, runs the tests
// and shuts the window system down.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>

#include "platform/fonts/FontRegistration.h"
#include "ModalDialogs.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!vornel::RegisterShippedFonts()) std::fprintf(stderr, "warning: the music font is not registered\n");
  wxApp::SetInstance(new wxApp);
  int wxArgc = 1;
  char* wxArgv[] = {argv[0], nullptr};
  if (!wxEntryStart(wxArgc, wxArgv)) {
    std::fprintf(stderr, "cannot start the window system\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  // A failed check of the window system fails the test instead of waiting in a dialog.
  wxSetAssertHandler([](const wxString& file, int line, const wxString& function, const wxString& condition,
                        const wxString& message) {
    ADD_FAILURE() << "wx check failed in " << function << " (" << file << ":" << line << "): " << condition << " "
                  << message;
  });
  int result = 0;
  {
    vornel::testing::ModalDialogGuard guard;
    result = RUN_ALL_TESTS();
  }
  wxEntryCleanup();
  return result;
}
