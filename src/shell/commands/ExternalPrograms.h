#pragma once
// Programs outside the editor (the TAB typesetter, an ABC converter, the desktop's viewers)
// are started with argument lists, never through a shell. The window layer starts them and
// reports their end on the window thread; tests install a fake.

#include <string>
#include <string_view>
#include <vector>

#include "platform/io/ProgramLauncher.h"

namespace vornel {

// The launcher, FindProgram and Programs() are the platform's (platform/io/ProgramLauncher.h).

// Runs a converter in a new folder of its own under `scratchFolder` and, when it ends with
// exit code 0, opens the file `outputName` it wrote there with the desktop's viewer. A
// program that cannot be started names the profile setting `settingKey`; a non-zero exit
// code and a missing output are reported. False when nothing was started.
bool RunAndOpenOutput(const std::vector<std::string>& arguments, const std::string& scratchFolder,
                      std::string_view outputName, std::string_view settingKey);

}  // namespace vornel
