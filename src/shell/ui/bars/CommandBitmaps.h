#pragma once
// The pictures of the commands as the windows show them, made once per command and size and
// kept for the run: the theme's icon for a generic action, a music glyph or a badge otherwise.

#include <wx/bitmap.h>

#include <map>
#include <string>
#include <utility>

#include "platform/draw/DeviceBitmap.h"

namespace vornel {

// A drawing-layer bitmap (premultiplied ARGB) as a bitmap of the window system, with alpha.
wxBitmap ToWxBitmap(const DeviceBitmap& bitmap);

class CommandBitmaps {
 public:
  // The picture of `id` at size x size; `label` names it on a badge.
  wxBitmap Get(int id, int size, const std::string& label);
  size_t Count() const { return bitmaps_.size(); }
  void Clear() { bitmaps_.clear(); }

 private:
  std::map<std::pair<int, int>, wxBitmap> bitmaps_;
};

}  // namespace vornel
