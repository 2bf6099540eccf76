#include "shell/ui/AreaWindows.h"

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

HookSlot<CanvasFactory> g_canvas("score canvas");
HookSlot<CanvasFactory> g_titlePage("title-page canvas");
HookSlot<FacsimileFactory> g_facsimile("facsimile pane");

}  // namespace

void SetCanvasFactory(CanvasFactory factory) { g_canvas.Exchange(std::move(factory)); }
const CanvasFactory& GetCanvasFactory() { return g_canvas.Get(); }
void SetTitlePageFactory(CanvasFactory factory) { g_titlePage.Exchange(std::move(factory)); }
const CanvasFactory& GetTitlePageFactory() { return g_titlePage.Get(); }
void SetFacsimileFactory(FacsimileFactory factory) { g_facsimile.Exchange(std::move(factory)); }
const FacsimileFactory& GetFacsimileFactory() { return g_facsimile.Get(); }

}  // namespace vornel
