#pragma once
// Pictures beside menu texts, where the desktop's menus draw no items of ours: the line-style
// items (34024-34028) show a line as thick as their style, a tool menu's items the images of
// their tool bar's commands.

#include <wx/bitmap.h>
#include <wx/menu.h>

#include <functional>
#include <string>

namespace vornel {

inline constexpr int kFirstLineStyleCommand = 34024;
inline constexpr int kLastLineStyleCommand = 34028;

// A line `thickness` pixels thick (1-5), in the window frame colour, centred in a picture
// that stands in the text column's place.
wxBitmap LineStyleBitmap(int thickness);

// The command a menu item's id stands for (menu ids stop below the larger command ids).
using MenuCommandOf = std::function<int(int windowId)>;

// Gives every line-style item of `menu` (and its sub-menus) its line, style = command - 34023.
// The items are made again with their picture, as the desktop takes a picture only from an
// item that is being added.
void ShowLineStyles(wxMenu& menu, const MenuCommandOf& commandOf);

// Gives each item of `menu` whose command has an image (`image` returns an invalid bitmap
// for none) that image, the same way.
void ShowToolImages(wxMenu& menu, const MenuCommandOf& commandOf, const std::function<wxBitmap(int command)>& image);

}  // namespace vornel
