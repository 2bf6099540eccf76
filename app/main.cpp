// The editor: registers the shipped fonts, starts the window system and shows the main frame.

#include <wx/app.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "layout/ui/WxExportServices.h"
#include "platform/UserPrompts.h"
#include "platform/fonts/FontRegistration.h"
#include "platform/ui/WxPrompts.h"
#include "shell/ui/MainFrame.h"

namespace {

class VornelApp : public wxApp {
 public:
  bool OnInit() override {
    if (!wxApp::OnInit()) return false;
    auto* frame = new vornel::CMainFrame;
    prompts_.SetParent(frame);
    exports_.SetParent(frame);
    frame->Show();
    SetTopWindow(frame);
    return true;
  }

 private:
  vornel::WxPrompts prompts_;
  vornel::ScopedPrompts scoped_{prompts_};
  vornel::WxExportServices exports_;
  vornel::ScopedExportServices scopedExports_{exports_};
};

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(VornelApp);

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "vornel needs a graphical display, and none is set (DISPLAY or WAYLAND_DISPLAY).\n"
                 "To run it without one, start it under a virtual display: xvfb-run ./run.sh\n");
    return 2;
  }
  // Fonts must be known to fontconfig before the window system builds its font map.
  std::string error;
  if (!vornel::RegisterShippedFonts(&error)) std::fprintf(stderr, "warning: %s\n", error.c_str());
  return wxEntry(argc, argv);
}
