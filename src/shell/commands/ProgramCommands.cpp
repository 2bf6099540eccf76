#include "shell/commands/ProgramCommands.h"

#include "platform/UserPrompts.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/app/Profile.h"

namespace vornel {

namespace {

// Asks for a program and keeps it in `path` and under the profile key; true when chosen.
bool ChooseProgram(CVornelTabApp& app, std::string_view title, std::string& path, std::string_view key) {
  const std::optional<std::string> program = Prompts().PromptOpenFile(title, "*");
  if (!program || program->empty()) return false;
  path = *program;
  app.Profile().WriteText(kSessionProfile, key, path);
  return true;
}

}  // namespace

void RunTabProgram(CVornelTabApp& app, const std::string& path) {
  if (app.tabProgramPath == "./" || app.tabProgramPath.empty()) {
    if (Prompts().Ask("Tab program path not found: \nDo you want to search for it now?", Buttons::kYesNo,
                      MessageKind::kQuestion, "Program not found") != Answer::kYes) {
      return;
    }
    if (!ChooseTabProgram(app)) return;
  }
  RunAndOpenOutput({app.tabProgramPath, "-P", path}, app.tempFolder, "out.ps", "TabDosPath");
}

bool ChooseTabProgram(CVornelTabApp& app) {
  return ChooseProgram(app, "Locate the TAB typesetter program", app.tabProgramPath, "TabDosPath");
}

void RunAbcSoftware(CVornelTabApp& app) {
  const std::optional<std::string> file = Prompts().PromptOpenFile("Open an abc format file", "*.abc");
  if (!file || file->empty()) return;
  if (app.abcProgramPath.empty()) {
    Programs().OpenWithDefault(*file);
    return;
  }
  RunAndOpenOutput({app.abcProgramPath, *file}, app.tempFolder, "Out.ps", "AbcProgram");
}

bool ChooseMidiToWavProgram(CVornelTabApp& app) {
  return ChooseProgram(app, "MIDI to WAV executable program", app.midiToWavePath, "TimidityPath");
}

std::string GetMidiToWavProgramPath(CVornelTabApp& app) {
  if (app.midiToWavePath.empty() &&
      Prompts().Ask("The path to your MIDI to WAV player has not been set yet. Would you like to go find it?",
                    Buttons::kOkCancel) == Answer::kOk) {
    ChooseMidiToWavProgram(app);
  }
  return app.midiToWavePath;
}

void OpenMidiFileInPlayer() {
  const std::optional<std::string> file = Prompts().PromptOpenFile("Open a midi file", "*.mid");
  if (file && !file->empty()) Programs().OpenWithDefault(*file);
}

}  // namespace vornel
