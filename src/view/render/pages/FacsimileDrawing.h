#pragma once
// A facsimile page: one image of a facsimile list fitted to the device (at its natural size
// when it fits, else to the width or height less four times the page's left edge), centred,
// with its caption drawn as rich text in a box of the image's size right below it. A large
// scan is read from its file reduced to about the size it is drawn at, never whole.

#include <cstddef>
#include <functional>
#include <string>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CFacsimileListDlg;
class CPageDlg;

// What a picture that cannot be decoded reports, with the entry's path.
inline constexpr const char* kFacsimileImageError = "Error printing image: %s";

// Finds the readable file a stored path stands for (true and the path replaced).
using FacsimileResolver = std::function<bool(std::string&)>;

// Draws the first image file of the list at or after `index`. Nothing is drawn for a list
// without one there, or a path the resolver cannot make readable; an image that cannot be
// decoded is reported and nothing is drawn.
void DrawFacsimile(const CFacsimileListDlg& list, size_t index, DeviceContext& dc, const CPageDlg& page,
                   const FacsimileResolver& resolve);

// The list index of the `n`-th image file (from 0); the list's size when there are fewer.
size_t NthImageFile(const CFacsimileListDlg& list, size_t n);

}  // namespace vornel
