#include "shell/frame/WindowTabs.h"

#include <algorithm>

namespace vornel {

int WindowTabWidth(int tabCount, int stripWidth) {
  if (tabCount <= 0 || tabCount * (kWindowTabWidth + 4) <= stripWidth) return kWindowTabWidth;
  return std::max(kMinimumWindowTabWidth, stripWidth / tabCount - 4);
}

}  // namespace vornel
