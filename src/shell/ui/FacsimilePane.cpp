#include "shell/ui/FacsimilePane.h"

#include <wx/window.h>

#include "document/CVornelTabDoc.h"
#include "shell/ui/CChildFrame.h"
#include "view/ui/facsimile/ImageView.h"

namespace vornel {

FacsimileHost MakeFacsimilePane(wxWindow* parent, CVornelTabDoc& doc) {
  // The tab is looked up when needed: it is still being built when the pane is made, and the
  // splitter moves into a notebook once the title page has a view.
  const auto tab = [parent]() -> CChildFrame* {
    for (wxWindow* window = parent->GetParent(); window != nullptr; window = window->GetParent()) {
      if (auto* child = dynamic_cast<CChildFrame*>(window)) return child;
    }
    return nullptr;
  };
  view::ImageView::Hooks hooks;
  hooks.showPane = [tab](bool show) {
    if (CChildFrame* child = tab()) child->ShowFacsimilePane(show);
  };
  hooks.addToScore = [tab](const std::string& path) {
    if (CChildFrame* child = tab()) child->AddFacsimileToScore(path);
  };
  auto* view = new view::ImageView(parent, doc, std::move(hooks));
  return FacsimileHost{view, &view->Commands()};
}

}  // namespace vornel
