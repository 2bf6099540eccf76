#pragma once
// The pictures the shell draws itself, through the drawing layer: the splash window's picture
// and what a document's tab shows while no score view is installed.

#include <string_view>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceContext;

inline constexpr Size kSplashPictureSize{480, 280};

// A few courses of French tablature under the program's name.
void DrawSplashPicture(DeviceContext& dc);

// The screen background with one blank page of the page colour (A4 in proportion, centred,
// with a shadow) and the document's name above it.
void DrawDocumentPlaceholder(DeviceContext& dc, Size client, std::string_view title, COLORREF screen, COLORREF page);

}  // namespace vornel
