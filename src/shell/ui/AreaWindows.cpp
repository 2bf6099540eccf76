#include "shell/ui/AreaWindows.h"

namespace vornel {

namespace {

CanvasFactory& Canvas() {
  static CanvasFactory factory;
  return factory;
}

FacsimileFactory& Facsimile() {
  static FacsimileFactory factory;
  return factory;
}

}  // namespace

void SetCanvasFactory(CanvasFactory factory) { Canvas() = std::move(factory); }
const CanvasFactory& GetCanvasFactory() { return Canvas(); }
void SetFacsimileFactory(FacsimileFactory factory) { Facsimile() = std::move(factory); }
const FacsimileFactory& GetFacsimileFactory() { return Facsimile(); }

void InstallAreaWindows() {
  // One line per area: the score view's canvas, the image viewer of the facsimile pane.
}

}  // namespace vornel
