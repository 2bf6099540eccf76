#pragma once

#include <string>

namespace vornel {

// The folder of the files the system ships (fonts, instrument base, templates): the
// environment variable VORNEL_DATA_DIR, else "data" beside the program's folder, else the
// build tree's data folder.
std::string ShippedDataDirectory();

// The folder of the running program.
std::string ProgramDirectory();

}  // namespace vornel
