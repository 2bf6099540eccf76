// The editor: registers the shipped fonts, starts the window system and the shell.
//   vornel [--no-splash] [--report-startup] [FILE...]
// --report-startup prints the milliseconds to the main window's first map (its first paint)
// and to each document's tab, then quits.

#include <curl/curl.h>
#include <wx/app.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/UserPrompts.h"
#include "platform/fonts/FontRegistration.h"
#include "platform/ui/WxPrompts.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/ui/ConfigProfile.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellApplication.h"
#include "shell/ui/ShellExportServices.h"
#include "shell/ui/WxProgramLauncher.h"
#include "view/facsimile/ImageDownload.h"
#include "view/draw/FontChooser.h"
#include "view/ui/DesktopChordClipboard.h"
#include "view/ui/WxFontChooser.h"

namespace {

const std::chrono::steady_clock::time_point g_started = std::chrono::steady_clock::now();

class VornelApp : public wxApp {
 public:
  bool OnInit() override {
    // The command line is ours (wxApp's parser would refuse our switches).
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i].utf8_str());
    line_ = vornel::ParseCommandLine(arguments);
    for (const std::string& option : line_.unknownOptions) std::fprintf(stderr, "vornel: unknown option %s\n", option.c_str());

    // Measuring runs answer no dialog: messages go to the standard error stream.
    prompts_ = line_.reportStartup ? std::unique_ptr<vornel::UserPrompts>(new vornel::ConsolePrompts)
                                   : std::unique_ptr<vornel::UserPrompts>(new vornel::WxPrompts);
    promptsScope_ = std::make_unique<vornel::ScopedPrompts>(*prompts_);
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
      vornel::Prompts().ShowMessage("Windows sockets initialization failed.", vornel::MessageKind::kError);
      return false;
    }
    curlStarted_ = true;

    profile_ = std::make_unique<vornel::ConfigProfile>();
    shell_ = std::make_unique<vornel::ShellApplication>(*profile_, g_started);
    exports_ = std::make_unique<vornel::ShellExportServices>(shell_->App());
    exportsScope_ = std::make_unique<vornel::ScopedExportServices>(*exports_);
    vornel::CMainFrame* frame = shell_->Start(line_);
    if (frame == nullptr) return false;
    exports_->SetParent(frame);
    exports_->TakeSettings();
    if (auto* wx = dynamic_cast<vornel::WxPrompts*>(prompts_.get())) wx->SetParent(frame);
    fontChooser_ = std::make_unique<vornel::WxFontChooser>(frame);
    fontScope_ = std::make_unique<vornel::ScopedFontChooser>(*fontChooser_);
    SetTopWindow(frame);
    if (line_.reportStartup) frame->Bind(wxEVT_IDLE, &VornelApp::ReportWhenMapped, this);
    return true;
  }

  int OnExit() override {
    exportsScope_.reset();
    exports_.reset();
    fontScope_.reset();
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
    std::printf("mapped %.1f ms\n", shell_->MappedMilliseconds());
    for (const auto& [title, ms] : shell_->TabTimes()) std::printf("tab %s %.1f ms\n", title.c_str(), ms);
    std::fflush(stdout);
    frame->CallAfter([frame] { frame->Close(true); });
  }

  vornel::CommandLine line_;
  std::unique_ptr<vornel::UserPrompts> prompts_;
  std::unique_ptr<vornel::ScopedPrompts> promptsScope_;
  vornel::WxProgramLauncher launcher_;
  vornel::ScopedPrograms launcherScope_{launcher_};
  vornel::view::WebFacsimileWindows facsimiles_;
  vornel::view::ScopedFacsimileWindows facsimilesScope_{facsimiles_};
  vornel::view::DesktopChordClipboard chordClipboard_;
  vornel::view::ScopedChordClipboard chordClipboardScope_{chordClipboard_};
  std::unique_ptr<vornel::WxFontChooser> fontChooser_;
  std::unique_ptr<vornel::ScopedFontChooser> fontScope_;
  std::unique_ptr<vornel::ConfigProfile> profile_;
  std::unique_ptr<vornel::ShellApplication> shell_;
  std::unique_ptr<vornel::ShellExportServices> exports_;
  std::unique_ptr<vornel::ScopedExportServices> exportsScope_;
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
  return wxEntry(argc, argv);
}
