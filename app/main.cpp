// The editor: registers the shipped fonts, starts the window system and the shell.
//   vornel [--no-splash] [--report-startup] [FILE...]
// --report-startup prints the milliseconds to the main window's first map (its first paint),
// with the processor time spent by then, and to each document's tab, then quits.

#include <curl/curl.h>
#include <wx/app.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "layout/ui/dialogs/SmallDialogWindows.h"
#include "platform/UserPrompts.h"
#include "platform/fonts/FontRegistration.h"
#include "platform/ui/WxPrompts.h"
#include "shell/ui/ConfigProfile.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellApplication.h"

namespace {

const std::chrono::steady_clock::time_point g_started = std::chrono::steady_clock::now();
// True when main set GDK_GL for the window system's start only.
bool g_glSetHere = false;

class VornelApp : public wxApp {
 public:
  bool OnInit() override {
    // The display is open: programs the editor starts do not inherit our choice.
    if (g_glSetHere) unsetenv("GDK_GL");
    // The command line is ours (wxApp's parser would refuse our switches).
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i].utf8_str());
    line_ = vornel::ParseCommandLine(arguments);
    for (const std::string& option : line_.unknownOptions) std::fprintf(stderr, "vornel: unknown option %s\n", option.c_str());

    // Measuring runs answer no dialog: messages go to the standard error stream.
    // Number prompts are our own dialog with its slider; the other prompts the desktop's.
    if (line_.reportStartup) {
      prompts_ = std::make_unique<vornel::ConsolePrompts>();
    } else {
      windowPrompts_ = std::make_unique<vornel::WxPrompts>();
      prompts_ = std::make_unique<vornel::DialogNumberPrompts>(*windowPrompts_);
    }
    promptsScope_ = std::make_unique<vornel::ScopedPrompts>(*prompts_);
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
      vornel::Prompts().ShowMessage("Windows sockets initialization failed.", vornel::MessageKind::kError);
      return false;
    }
    curlStarted_ = true;

    profile_ = std::make_unique<vornel::ConfigProfile>();
    // The shell installs every other service of the editor's windows (EditorServices).
    shell_ = std::make_unique<vornel::ShellApplication>(*profile_, g_started);
    vornel::CMainFrame* frame = shell_->Start(line_);
    if (frame == nullptr) return false;
    if (windowPrompts_) windowPrompts_->SetParent(frame);
    if (auto* numbers = dynamic_cast<vornel::DialogNumberPrompts*>(prompts_.get())) numbers->SetParent(frame);
    SetTopWindow(frame);
    if (line_.reportStartup) frame->Bind(wxEVT_IDLE, &VornelApp::ReportWhenMapped, this);
    return true;
  }

  int OnExit() override {
    shell_.reset();
    profile_.reset();
    if (curlStarted_) curl_global_cleanup();
    return wxApp::OnExit();
  }

 private:
  void ReportWhenMapped(wxIdleEvent& event) {
    event.Skip();
    vornel::CMainFrame* frame = shell_->Frame();
    if (reported_ || frame == nullptr || !shell_->DocumentsOpened() || shell_->MappedMilliseconds() < 0) return;
    reported_ = true;
    std::printf("mapped %.1f ms cpu %.1f ms\n", shell_->MappedMilliseconds(), shell_->MappedProcessorMilliseconds());
    for (const auto& [title, ms] : shell_->TabTimes()) std::printf("tab %s %.1f ms\n", title.c_str(), ms);
    std::fflush(stdout);
    frame->CallAfter([frame] { frame->Close(true); });
  }

  vornel::CommandLine line_;
  std::unique_ptr<vornel::WxPrompts> windowPrompts_;
  std::unique_ptr<vornel::UserPrompts> prompts_;
  std::unique_ptr<vornel::ScopedPrompts> promptsScope_;
  std::unique_ptr<vornel::ConfigProfile> profile_;
  std::unique_ptr<vornel::ShellApplication> shell_;
  bool curlStarted_ = false;
  bool reported_ = false;
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
  // Everything is drawn through Cairo: GTK need not load OpenGL to choose its visuals when it
  // opens the display (with a software OpenGL stack that is about a third of the start). A
  // value the user set stands.
  if (std::getenv("GDK_GL") == nullptr) g_glSetHere = setenv("GDK_GL", "disable", 1) == 0;
  return wxEntry(argc, argv);
}
