#pragma once
// The image view in a document's facsimile pane, wired to the tab around it: the view shows
// and hides the pane and adds its picture to the score's facsimiles through the tab.

class wxWindow;

namespace vornel {

class CVornelTabDoc;

// A facsimile factory (AreaWindows.h): `parent` is the tab's splitter.
wxWindow* MakeFacsimilePane(wxWindow* parent, CVornelTabDoc& doc);

}  // namespace vornel
