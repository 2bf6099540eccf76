#include "shell/ui/ShellApplication.h"

#include <sys/resource.h>
#include <wx/app.h>
#include <wx/splash.h>
#include <wx/statusbr.h>

#include "document/CVornelTabDoc.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileDialogFolders.h"
#include "shell/app/ApplicationLooks.h"
#include "shell/app/AutoSave.h"
#include "shell/app/Profile.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/files/PathHelpers.h"
#include "shell/ui/EditorServices.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/SplashWindow.h"

namespace vornel {

ShellApplication::ShellApplication(ProfileStore& profile, Clock::time_point started)
    : profile_(profile), started_(started), app_(profile) {}

ShellApplication::~ShellApplication() = default;

namespace {

double ProcessorMilliseconds() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  const auto ms = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

}  // namespace

double ShellApplication::MillisecondsSinceStart() const {
  return std::chrono::duration<double, std::milli>(Clock::now() - started_).count();
}

CMainFrame* ShellApplication::Start(const CommandLine& line) {
  StartTemporaryJournal();
  app_.InitFolders();
  // File choosers start in the documents folder until the user has chosen another.
  FileDialogFolders::Shared().SetDocumentsFolder(app_.dataFolder);
  if (!app_.LoadSessionProfile()) {
    Prompts().ShowMessage(CVornelTabApp::kPreferencesMessage, MessageKind::kInformation,
                          CVornelTabApp::kPreferencesCaption);
  }
  app_.ApplyDocumentEnvironment();
  app_.recentFiles.Load(profile_);
  app_.look = ValidLook(profile_.GetInt(kWorkspaceSection, kLookKey, kDefaultLook));
  app_.SetAutoSaveMinutes(app_.autoSaveMinutes);

  services_ = std::make_unique<EditorServices>(app_);
  frame_ = new CMainFrame(app_);
  services_->AttachFrame(frame_);
  frame_->RestoreLayout();
  line_ = line;
  // The frame's own paints go to the docking manager; its status bar paints with it.
  frame_->GetStatusBar()->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
    event.Skip();
    FirstPainted();
  });
  frame_->Maximize();
  frame_->Show();
  if (line.showSplash) splash_ = ShowSplashScreen(frame_);
  frame_->StartAutoSave();
  app_.PlayJingle();
  // Should no paint come (a window manager that keeps the window hidden), the documents open
  // a second later all the same.
  frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
    event.Skip();
    if (event.GetEventObject() == frame_) {
      fallback_.Stop();
      frame_ = nullptr;
    }
  });
  fallback_.onTime = [this] { FirstPainted(); };
  fallback_.StartOnce(1000);
  // What start-up found and wrote is kept even if the run ends without closing.
  profile_.Flush();
  return frame_;
}

void ShellApplication::FirstPainted() {
  fallback_.Stop();
  if (mappedMs_ < 0) {
    mappedMs_ = MillisecondsSinceStart();
    mappedCpuMs_ = ProcessorMilliseconds();
  }
  if (!documentsOpened_ && frame_ != nullptr) frame_->CallAfter([this] { OpenPendingDocuments(); });
}

void ShellApplication::OpenPendingDocuments() {
  if (documentsOpened_ || frame_ == nullptr) return;
  documentsOpened_ = true;
  OpenStartupDocuments(line_);
  // New tabs may have put the frame above the splash window where no window manager keeps
  // it on top.
  if (splash_) splash_->Raise();
  frame_->OfferRecoveryCopies();
  profile_.Flush();
}

void ShellApplication::OpenStartupDocuments(const CommandLine& line) {
  const std::string last = app_.recentFiles.Paths().empty() ? std::string() : app_.recentFiles.Paths().front();
  const StartupCommand command =
      DecideStartupCommand(line.paths, app_.options.openLastDocument != 0, last, FileExists(last));
  switch (command.action) {
    case StartupAction::kOpenFiles:
      for (const std::string& path : command.paths) {
        if (CVornelTabDoc* doc = OpenDocumentFile(app_, *frame_, path)) {
          tabTimes_.emplace_back(doc->GetTitle(), MillisecondsSinceStart());
        }
      }
      break;
    case StartupAction::kNewDocument:
      NewDocument(app_, *frame_);
      break;
    case StartupAction::kNothing:
      break;
  }
}

}  // namespace vornel
