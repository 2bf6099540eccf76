#include "layout/ui/WxExportServices.h"

#include <wx/process.h>
#include <wx/utils.h>

#include <filesystem>

#include "layout/ui/TabPropertiesDialog.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

// Opens the typesetter's PostScript output when the typesetter has ended.
class TypesetterProcess : public wxProcess {
 public:
  explicit TypesetterProcess(std::string output) : output_(std::move(output)) {}
  void OnTerminate(int, int status) override {
    std::error_code error;
    if (status == 0 && std::filesystem::exists(output_, error)) wxLaunchDefaultApplication(wxString::FromUTF8(output_));
    delete this;
  }

 private:
  std::string output_;
};

}  // namespace

bool WxExportServices::EditTabOptions(CTabProperties& options) {
  TabPropertiesDialog dialog(parent_, options);
  return dialog.ShowModal() == wxID_OK;
}

void WxExportServices::RunTabProgram(const std::string& path) {
  if (tabProgram.empty()) {
    if (Prompts().Ask(kNotFoundQuestion, Buttons::kYesNo, MessageKind::kQuestion, kNotFoundCaption) != Answer::kYes) {
      return;
    }
    const std::optional<std::string> chosen = Prompts().PromptOpenFile("Tab program", "*");
    if (!chosen) return;
    tabProgram = *chosen;
    if (onChosen) onChosen(tabProgram);
  }
  const std::string folder = std::filesystem::path(path).parent_path().string();
  wxExecuteEnv environment;
  environment.cwd = wxString::FromUTF8(folder);
  const wxString command = wxString::FromUTF8("\"" + tabProgram + "\" -P \"" + path + "\"");
  auto* process = new TypesetterProcess((std::filesystem::path(folder) / "out.ps").string());
  if (wxExecute(command, wxEXEC_ASYNC, process, &environment) == 0) {
    delete process;
    Prompts().ShowMessage("The TAB typesetter could not be started: " + tabProgram +
                              "\nChange the setting TabDosPath to the typesetter's program.",
                          MessageKind::kError);
  }
}

void WxExportServices::OpenWithDesktop(const std::string& path) { wxLaunchDefaultApplication(wxString::FromUTF8(path)); }

}  // namespace vornel
