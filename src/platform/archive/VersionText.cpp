#include "platform/archive/VersionText.h"

namespace vornel {

int CompareVersionText(std::string_view version, std::string_view literal) {
  // Version texts are ASCII, so comparing bytes is comparing UTF-16 code units.
  const int c = version.compare(literal);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace vornel
