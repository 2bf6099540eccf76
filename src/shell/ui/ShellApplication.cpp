#include "shell/ui/ShellApplication.h"

#include "document/CVornelTabDoc.h"
#include "platform/UserPrompts.h"
#include "shell/app/ApplicationLooks.h"
#include "shell/app/Profile.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/files/PathHelpers.h"
#include "shell/ui/AreaWindows.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/SplashWindow.h"

namespace vornel {

ShellApplication::ShellApplication(ProfileStore& profile, Clock::time_point started)
    : profile_(profile), started_(started), app_(profile) {}

double ShellApplication::MillisecondsSinceStart() const {
  return std::chrono::duration<double, std::milli>(Clock::now() - started_).count();
}

CMainFrame* ShellApplication::Start(const CommandLine& line) {
  app_.InitFolders();
  if (!app_.LoadSessionProfile()) {
    Prompts().ShowMessage(CVornelTabApp::kPreferencesMessage, MessageKind::kInformation,
                          CVornelTabApp::kPreferencesCaption);
  }
  app_.ApplyDocumentEnvironment();
  app_.recentFiles.Load(profile_);
  app_.look = ValidLook(profile_.GetInt(kWorkspaceSection, kLookKey, kDefaultLook));
  app_.SetAutoSaveMinutes(app_.autoSaveMinutes);

  static const bool installed = (InstallAreaWindows(), true);
  (void)installed;
  frame_ = new CMainFrame(app_);
  frame_->RestoreLayout();
  if (line.showSplash) ShowSplashScreen(frame_);
  OpenStartupDocuments(line);
  frame_->Maximize();
  frame_->Show();
  frame_->StartAutoSave();
  app_.PlayJingle();
  frame_->OfferRecoveryCopies();
  // What start-up found and wrote is kept even if the run ends without closing.
  profile_.Flush();
  return frame_;
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
