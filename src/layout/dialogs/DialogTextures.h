#pragma once
// The textures tiled behind the program's dialogs, drawn by code so no image file is needed,
// and the application's textured-backgrounds option that the dialog windows read at every
// repaint.

#include <cstdint>
#include <functional>
#include <vector>

namespace vornel {

// The two textures: the dialogs' own and the property sheets' and pages'.
enum class DialogTexture : int { kDialog = 709, kSheet = 713 };

// One square tile, row by row, 0xRRGGBB per pixel; it repeats without seams in both directions.
struct TextureTile {
  int size = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>((y % size) * size + x % size)]; }
};

// The tile of `texture`; the same every time it is asked for.
TextureTile DrawTextureTile(DialogTexture texture);

// The textured-backgrounds option: false until the application installs its reader.
bool TexturedBackgrounds();
void SetTexturedBackgroundsReader(std::function<bool()> reader);

}  // namespace vornel
