#pragma once

#include <string>
#include <vector>

namespace vornel {

// The folder of the files the system ships (fonts, instrument base, templates): the
// environment variable VORNEL_DATA_DIR, else "data" beside the program's folder, else
// "vornel" in the first XDG data folder that holds it, else the build tree's data folder.
std::string ShippedDataDirectory();

// The XDG data folders in search order: XDG_DATA_HOME (default ~/.local/share), then those of
// XDG_DATA_DIRS (default /usr/local/share and /usr/share).
std::vector<std::string> XdgDataFolders();

// The folder of the running program.
std::string ProgramDirectory();

}  // namespace vornel
