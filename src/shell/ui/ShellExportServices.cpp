#include "shell/ui/ShellExportServices.h"

#include "shell/app/CVornelTabApp.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/commands/ProgramCommands.h"

namespace vornel {

ShellExportServices::ShellExportServices(CVornelTabApp& app, wxWindow* parent) : WxExportServices(parent), app_(app) {
  TakeSettings();
}

void ShellExportServices::TakeSettings() {
  xmlFolder = app_.xmlFolder;
  brailleLines = app_.brailleLines;
  brailleColumns = app_.brailleColumns;
}

void ShellExportServices::RunTabProgram(const std::string& path) { vornel::RunTabProgram(app_, path); }

void ShellExportServices::OpenWithDesktop(const std::string& path) { Programs().OpenWithDefault(path); }

}  // namespace vornel
