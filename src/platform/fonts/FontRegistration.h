#pragma once

#include <string>

namespace vornel {

// Makes the fonts the system ships (Bravura) known to fontconfig for this process. Must run
// before the window system starts so that its font map sees them. Returns false, with the
// reason in `error`, when a font file is missing or refused.
bool RegisterShippedFonts(std::string* error = nullptr);

// The path of the shipped music font.
std::string MusicFontPath();

}  // namespace vornel
