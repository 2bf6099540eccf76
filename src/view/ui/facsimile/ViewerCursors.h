#pragma once
// The image view's cursors, drawn by code: a magnifier for the zoom mode, an open hand over a
// picture that can be dragged and a closed hand while it is.

#include <wx/cursor.h>

namespace vornel::view {

enum class ViewerCursor { kZoom, kHand, kDrag };

const wxCursor& GetViewerCursor(ViewerCursor which);

}  // namespace vornel::view
