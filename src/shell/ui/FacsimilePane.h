#pragma once
// The image view in a document's facsimile pane, wired to the tab around it: the view shows
// and hides the pane and adds its picture to the score's facsimiles through the tab.

#include "shell/ui/AreaWindows.h"

namespace vornel {

// A facsimile factory: `parent` is the tab's splitter; the host carries the view's print
// commands.
FacsimileHost MakeFacsimilePane(wxWindow* parent, CVornelTabDoc& doc);

}  // namespace vornel
