#pragma once
// The start-up of the editor once the window system runs: folders, profile and options, the
// main frame with its saved layout, the window shown maximised, autosave and the jingle; once
// the window has been painted, the documents of the command line (each in its own tab) and the
// offer of recovery copies. Large documents thus never keep the window from appearing. The
// program's wxApp and the window tests both start the shell through it.

#include <wx/timer.h>
#include <wx/weakref.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/app/CVornelTabApp.h"
#include "shell/app/StartupCommand.h"

class wxSplashScreen;

namespace vornel {

class CMainFrame;
class EditorServices;
class ProfileStore;

class ShellApplication {
 public:
  using Clock = std::chrono::steady_clock;

  // `started` is when the program started (the start-up times count from it).
  explicit ShellApplication(ProfileStore& profile, Clock::time_point started = Clock::now());
  ~ShellApplication();

  // Installs the editor's services, then builds and shows the main frame; the frame, owned by
  // the window system. The documents follow when the frame is first painted.
  CMainFrame* Start(const CommandLine& line);
  // Opens the documents of the command line and offers the recovery copies, once; called
  // after the first paint (or a second after the start at the latest).
  void OpenPendingDocuments();
  bool DocumentsOpened() const { return documentsOpened_; }

  CVornelTabApp& App() { return app_; }
  // What the start installed; null before it.
  const EditorServices* Services() const { return services_.get(); }
  CMainFrame* Frame() const { return frame_; }
  // Milliseconds from the start to each document's tab, in the order they were opened.
  const std::vector<std::pair<std::string, double>>& TabTimes() const { return tabTimes_; }
  double MillisecondsSinceStart() const;
  // Milliseconds from the start to the main window's first paint; negative until then.
  double MappedMilliseconds() const { return mappedMs_; }
  // The process's processor time (user and system) up to that paint; negative until then.
  double MappedProcessorMilliseconds() const { return mappedCpuMs_; }

 private:
  void OpenStartupDocuments(const CommandLine& line);
  void FirstPainted();

  // A timer that calls back without an owner window.
  class OneShot : public wxTimer {
   public:
    void Notify() override {
      if (onTime) onTime();
    }
    std::function<void()> onTime;
  };

  ProfileStore& profile_;
  Clock::time_point started_;
  CVornelTabApp app_;
  // Installed before the frame is built, put back when the shell ends (after its windows).
  std::unique_ptr<EditorServices> services_;
  CMainFrame* frame_ = nullptr;
  CommandLine line_;
  bool documentsOpened_ = false;
  double mappedMs_ = -1;
  double mappedCpuMs_ = -1;
  OneShot fallback_;
  wxWeakRef<wxSplashScreen> splash_;
  std::vector<std::pair<std::string, double>> tabTimes_;
};

}  // namespace vornel
