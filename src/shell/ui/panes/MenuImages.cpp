#include "shell/ui/panes/MenuImages.h"

#include <wx/settings.h>

#include <algorithm>

#include "platform/draw/CairoDevice.h"
#include "shell/palettes/PaletteArt.h"
#include "shell/ui/panes/PaneTools.h"

namespace vornel {

namespace {

constexpr int kMenuImageWidth = 16;

// Makes item `index` of `menu` again with `bitmap`, keeping its kind, texts and state.
void ReplaceWithImage(wxMenu& menu, size_t index, const wxBitmap& bitmap) {
  wxMenuItem* old = menu.FindItemByPosition(index);
  auto* item = new wxMenuItem(&menu, old->GetId(), old->GetItemLabel(), old->GetHelp(), old->GetKind());
  item->SetBitmap(bitmap);
  const bool enabled = old->IsEnabled();
  const bool checked = old->IsCheckable() && old->IsChecked();
  menu.Destroy(old);
  menu.Insert(index, item);
  item->Enable(enabled);
  if (item->IsCheckable()) item->Check(checked);
}

void ForEachItem(wxMenu& menu, const MenuCommandOf& commandOf, const std::function<wxBitmap(int)>& image) {
  for (size_t i = 0; i < menu.GetMenuItemCount(); ++i) {
    wxMenuItem* item = menu.FindItemByPosition(i);
    if (wxMenu* sub = item->GetSubMenu()) {
      ForEachItem(*sub, commandOf, image);
      continue;
    }
    if (item->IsSeparator()) continue;
    const wxBitmap bitmap = image(commandOf ? commandOf(item->GetId()) : item->GetId());
    if (bitmap.IsOk()) ReplaceWithImage(menu, i, bitmap);
  }
}

}  // namespace

wxBitmap LineStyleBitmap(int thickness) {
  thickness = std::clamp(thickness, 1, 5);
  const Size item = palettes::LineStyleItemSize(kMenuImageWidth, thickness, kMenuImageWidth);
  // The line stands where the item's text column ends: its picture is what is left of it.
  const Size size{item.cx - 4 * kMenuImageWidth, item.cy};
  ImageDevice dc(size.cx, size.cy, 96, RGB(255, 255, 255));
  const wxColour frame = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWFRAME);
  palettes::DrawLineSample(dc, size, thickness, RGB(frame.Red(), frame.Green(), frame.Blue()));
  wxBitmap bitmap = ToWxBitmap(dc.ToBitmap(), Rect{0, 0, size.cx, size.cy});
  // The white around the line is the menu's own background.
  wxImage image = bitmap.ConvertToImage();
  image.SetMaskColour(255, 255, 255);
  return wxBitmap(image);
}

void ShowLineStyles(wxMenu& menu, const MenuCommandOf& commandOf) {
  ForEachItem(menu, commandOf, [](int command) {
    if (command < kFirstLineStyleCommand || command > kLastLineStyleCommand) return wxBitmap();
    return LineStyleBitmap(command - kFirstLineStyleCommand + 1);
  });
}

void ShowToolImages(wxMenu& menu, const MenuCommandOf& commandOf, const std::function<wxBitmap(int command)>& image) {
  ForEachItem(menu, commandOf, image);
}

}  // namespace vornel
