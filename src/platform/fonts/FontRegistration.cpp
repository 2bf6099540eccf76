#include "platform/fonts/FontRegistration.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>

#include "platform/io/DataPaths.h"

namespace vornel {

std::string MusicFontPath() { return (std::filesystem::path(ShippedDataDirectory()) / "fonts" / "bravura.otf").string(); }

bool RegisterShippedFonts(std::string* error) {
  const std::string path = MusicFontPath();
  if (!std::filesystem::exists(path)) {
    if (error != nullptr) *error = "The music font is missing: " + path;
    return false;
  }
  if (FcInit() == FcFalse ||
      FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(path.c_str())) == FcFalse) {
    if (error != nullptr) *error = "The music font could not be registered: " + path;
    return false;
  }
  return true;
}

}  // namespace vornel
