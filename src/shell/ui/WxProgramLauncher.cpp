#include "shell/ui/WxProgramLauncher.h"

#include <wx/filename.h>
#include <wx/mimetype.h>
#include <wx/process.h>
#include <wx/utils.h>

#include <exception>
#include <memory>

namespace vornel {

namespace {

// Deletes itself when its program ends, after handing the exit code on.
class WatchedProcess : public wxProcess {
 public:
  explicit WatchedProcess(ProgramLauncher::ExitHandler onExit) : onExit_(std::move(onExit)) {}
  void OnTerminate(int, int status) override {
    // Nothing thrown by the handler may reach the window system.
    try {
      if (onExit_) onExit_(status);
    } catch (const std::exception&) {
    }
    delete this;
  }

 private:
  ProgramLauncher::ExitHandler onExit_;
};

}  // namespace

bool WxProgramLauncher::Start(const std::vector<std::string>& arguments, const std::string& workingFolder,
                              ExitHandler onExit) {
  if (arguments.empty()) return false;
  std::vector<wxString> texts;
  for (const std::string& argument : arguments) texts.push_back(wxString::FromUTF8(argument));
  std::vector<const wchar_t*> argv;
  for (const wxString& text : texts) argv.push_back(text.wc_str());
  argv.push_back(nullptr);
  wxExecuteEnv environment;
  environment.cwd = wxString::FromUTF8(workingFolder);
  auto* process = new WatchedProcess(std::move(onExit));
  const long pid = wxExecute(argv.data(), wxEXEC_ASYNC, process, &environment);
  if (pid <= 0) {
    // wxExecute leaves the process object to its caller when nothing was started.
    delete process;
    return false;
  }
  return true;
}

bool WxProgramLauncher::OpenWithDefault(const std::string& target) {
  const wxString text = wxString::FromUTF8(target);
  if (text.StartsWith("http://") || text.StartsWith("https://")) return wxLaunchDefaultBrowser(text);
  return wxLaunchDefaultApplication(text);
}

}  // namespace vornel
