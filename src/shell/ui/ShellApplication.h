#pragma once
// The start-up of the editor once the window system runs: folders, profile and options, the
// main frame with its saved layout, the documents of the command line (each in its own tab),
// the window shown maximised, autosave, the jingle and the offer of recovery copies. The
// program's wxApp and the window tests both start the shell through it.

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "shell/app/CVornelTabApp.h"
#include "shell/app/StartupCommand.h"

namespace vornel {

class CMainFrame;
class ProfileStore;

class ShellApplication {
 public:
  using Clock = std::chrono::steady_clock;

  // `started` is when the program started (the start-up times count from it).
  explicit ShellApplication(ProfileStore& profile, Clock::time_point started = Clock::now());

  // Builds and shows the main frame; the frame, owned by the window system.
  CMainFrame* Start(const CommandLine& line);

  CVornelTabApp& App() { return app_; }
  CMainFrame* Frame() const { return frame_; }
  // Milliseconds from the start to each document's tab, in the order they were opened.
  const std::vector<std::pair<std::string, double>>& TabTimes() const { return tabTimes_; }
  double MillisecondsSinceStart() const;

 private:
  void OpenStartupDocuments(const CommandLine& line);

  ProfileStore& profile_;
  Clock::time_point started_;
  CVornelTabApp app_;
  CMainFrame* frame_ = nullptr;
  std::vector<std::pair<std::string, double>> tabTimes_;
};

}  // namespace vornel
