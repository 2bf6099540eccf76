#include "view/draw/PageDrawSettings.h"

namespace vornel {

namespace {
const PageDrawSettings* active = nullptr;
}

const PageDrawSettings* ActivePageSettings() { return active; }

void SetActivePageSettings(const PageDrawSettings* settings) { active = settings; }

}  // namespace vornel
