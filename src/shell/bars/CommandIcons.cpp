#include "shell/bars/CommandIcons.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "platform/draw/CairoDevice.h"
#include "platform/text/TextConversion.h"
#include "shell/bars/ToolbarTable.h"

namespace vornel::bars {

namespace {

constexpr FaceRole kN = FaceRole::kNotation;
constexpr FaceRole kF = FaceRole::kTabFlags;
constexpr FaceRole kL = FaceRole::kTabLetter;
// A picture of the desktop's theme (a wxArtProvider id or a name of the icon theme); where the
// theme has none, the glyph given (a black notehead unless said).
constexpr IconSource Art(std::string_view art, FaceRole role = kN, uint16_t code = 108) {
  return {IconKind::kArt, art, role, code};
}
constexpr IconSource Glyph(FaceRole role, uint16_t code) { return {IconKind::kGlyph, {}, role, code}; }

struct IconEntry {
  int id;
  IconSource source;
};

// Generic actions from the desktop's theme; music actions from the music fonts.
constexpr auto kIcons = std::to_array<IconEntry>({
    {57600, Art("wxART_NEW")},
    {57601, Art("wxART_FILE_OPEN")},
    {57602, Art("wxART_CLOSE")},
    {57603, Art("wxART_FILE_SAVE")},
    {57604, Art("wxART_FILE_SAVE_AS")},
    {57606, Art("wxART_PRINT")},
    {57607, Art("wxART_PRINT")},
    {57608, Art("wxART_PRINT")},
    {57609, Art("wxART_FIND")},
    {57612, Art("wxART_GO_FORWARD")},
    {57634, Art("wxART_COPY")},
    {57635, Art("wxART_CUT")},
    {57637, Art("wxART_PASTE")},
    {57643, Art("wxART_UNDO")},
    {57644, Art("wxART_REDO")},
    {57664, Art("wxART_INFORMATION")},
    {33261, Art("wxART_GO_UP")},    // the "Export..." entries
    {32822, Art("wxART_GO_DOWN")},  // the "Import..." entries
    {32832, Art("wxART_GO_UP")},
    {33707, Art("package-x-generic")},
    {57665, Art("wxART_QUIT")},
    {33296, Art("wxART_HELP_SETTINGS")},
    {33286, Art("wxART_GO_HOME")},
    {33070, Art("wxART_FIND")},
    {32768, Art("wxART_FIND")},
    {32762, Art("wxART_GO_UP")},
    {32763, Art("wxART_GO_DOWN")},
    {32764, Art("wxART_GOTO_FIRST")},
    {32765, Art("wxART_GOTO_LAST")},
    {32766, Art("wxART_GO_BACK")},
    {32767, Art("wxART_GO_FORWARD")},
    {32790, Art("wxART_GO_UP")},
    {32791, Art("wxART_GO_DOWN")},
    {32794, Art("wxART_GO_FORWARD")},
    {32795, Art("wxART_GO_BACK")},
    {33299, Art("wxART_DELETE")},
    {33300, Art("wxART_PLUS")},
    {32945, Art("wxART_FULL_SCREEN")},
    {33014, Art("wxART_LIST_VIEW")},
    {33244, Art("wxART_REPORT_VIEW")},
    {33960, Art("wxART_GO_UP")},
    {32991, Art("wxART_COPY")},
    {33302, Art("wxART_PASTE")},
    {32987, Art("wxART_COPY")},
    {32988, Art("wxART_PASTE")},
    {34257, Art("wxART_DELETE")},
    {-1116, Art("wxART_HELP_BOOK")},
    {-1070, Art("wxART_FIND")},
    {-1067, Art("wxART_DELETE")},
    // Music actions.
    {32785, Glyph(kN, 120)},  // a chord goes: a rest
    {32786, Glyph(kN, 108)},  // a chord comes: a notehead
    {32796, Glyph(kF, 114)},  // a shorter flag value
    {32797, Glyph(kF, 112)},
    {32798, Glyph(kN, 154)},
    {32925, Glyph(kL, 'b')},
    {32961, Glyph(kF, 112)},
    {32962, Glyph(kF, 114)},
    {32999, Glyph(kN, 123)},
    {33011, Glyph(kN, 103)},
    {33139, Glyph(kN, 105)},
    {33143, Glyph(kN, 104)},
    {33180, Glyph(kN, 34)},
    {33183, Glyph(kL, 'a')},
    {33184, Glyph(kL, '0')},
    {33185, Glyph(kL, '1')},
    {33194, Glyph(kN, 35)},
    {33213, Glyph(kN, 103)},
    {33214, Glyph(kN, 113)},
    {33215, Glyph(kN, 101)},
    {33309, Glyph(kN, 62)},
    {33313, Glyph(kN, 62)},
    {33314, Glyph(kF, 79)},
    {33318, Glyph(kF, 91)},
    {33319, Glyph(kN, 230)},
    {33324, Glyph(kN, 238)},
    {33326, Glyph(kF, 113)},
    {33327, Glyph(kF, 113)},
    {33356, Glyph(kF, 80)},
    {33357, Glyph(kF, 81)},
    {33979, Glyph(kN, 121)},
    {32823, Glyph(kN, 103)},
    {32824, Glyph(kN, 101)},
    {32827, Glyph(kN, 76)},
    {32829, Glyph(kN, 104)},
    {33819, Glyph(kF, 113)},
    {33820, Glyph(kN, 186)},
    {33821, Glyph(kN, 71)},
    {33822, Glyph(kN, 34)},
    {33823, Glyph(kN, 103)},
    {33824, Glyph(kN, 239)},
    {33826, Glyph(kN, 58)},
    {33827, Glyph(FaceRole::kFg, 'p')},
    {33828, Glyph(kN, 155)},
    {33829, Glyph(kL, 'a')},
    {33830, Glyph(kN, 166)},
    {33831, Glyph(kN, 174)},
    // Pages, systems, staves and sections.
    {810, Art("document-new")},
    {1107, Art("format-justify-fill")},
    {1175, Art("list-remove")},
    {1176, Art("list-add")},
    {32638, Art("wxART_LIST_VIEW")},
    {32769, Art("format-indent-more")},
    {32770, Art("format-indent-less")},
    {32771, Art("go-top")},
    {32784, Art("view-refresh")},
    {32946, Art("insert-object")},
    {32966, Art("document-properties")},
    {32967, Art("wxART_DELETE")},
    {32970, Art("document-page-setup")},
    {33002, Art("insert-object")},
    {33004, Art("go-last")},
    {33005, Art("go-first")},
    {33006, Art("go-first")},
    {33007, Art("go-last")},
    {33047, Art("view-refresh")},
    {33048, Art("wxART_DELETE")},
    {33049, Art("format-justify-left")},
    {33059, Art("document-properties")},
    {33064, Art("preferences-desktop-wallpaper")},
    {33115, Art("format-justify-fill")},
    {33118, Art("insert-image")},
    {33171, Art("view-refresh")},
    {33172, Art("go-jump")},
    {33178, Art("format-justify-center")},
    {33254, Art("view-restore")},
    {33255, Art("go-top")},
    {33283, Art("view-refresh")},
    {33294, Art("document-page-setup")},
    {33297, Art("document-properties")},
    {33411, Art("view-refresh")},
    {33412, Art("view-refresh")},
    {33425, Art("wxART_EDIT")},
    {33426, Art("format-text-bold")},
    {33427, Art("wxART_EDIT")},
    {33501, Art("wxART_REPORT_VIEW")},
    {33812, Art("wxART_NORMAL_FILE")},
    {34076, Art("insert-image")},
    {34085, Art("list-remove")},
    {34087, Art("view-refresh")},
    {34089, Art("wxART_EDIT")},
    {34211, Art("document-print-preview")},
    {34233, Art("format-justify-center")},
    {34252, Art("insert-image")},
    {34273, Art("insert-link")},
    {34274, Art("go-bottom")},
    {34279, Art("preferences-desktop")},
    {34300, Art("wxART_CUT")},
    {-213, Art("preferences-desktop-theme")},
    {-151, Art("format-text-bold")},
    // Fonts, looks and settings.
    {33176, Art("preferences-desktop-font")},
    {33182, Art("preferences-desktop-font")},
    {33192, Art("preferences-desktop-font")},
    {33310, Art("preferences-desktop-font")},
    {33407, Art("preferences-desktop-font")},
    {33406, Art("preferences-desktop-theme")},
    {33423, Art("preferences-desktop-theme")},
    {33500, Art("edit-select-all")},
    {33923, Art("window-new")},
    // Instruments, voices and the clipboard.
    {32980, Art("wxART_COPY")},
    {32981, Art("wxART_COPY")},
    {32982, Art("wxART_COPY")},
    {32984, Art("wxART_PASTE")},
    {32985, Art("wxART_PASTE")},
    {33010, Art("wxART_HARDDISK")},
    {33050, Art("object-flip-vertical")},
    {33052, Art("view-refresh", kL, '1')},
    {33181, Art("document-properties")},
    {33200, Art("go-jump")},
    {33288, Art("wxART_PLUS")},
    {33289, Art("wxART_DELETE")},
    {33292, Art("wxART_DELETE")},
    {33293, Art("wxART_DELETE")},
    {33405, Art("wxART_DELETE")},
    {33633, Art("wxART_COPY")},
    {34247, Art("go-jump")},
    {34226, Art("go-first")},
    {34227, Art("go-last")},
    {34228, Art("wxART_COPY")},
    {34229, Art("wxART_PASTE")},
    {34230, Art("wxART_DELETE")},
    {34231, Art("edit-select-all")},
    {33253, Art("object-rotate-right")},
    // Chords and the alfabeto.
    {32787, Glyph(kN, 122)},  // a static space: a rest's block
    {32788, Glyph(kN, 122)},
    {32789, Art("format-text-strikethrough")},
    {32792, Art("media-skip-forward")},
    {32793, Glyph(kL, 'c')},
    {33303, Art("wxART_PLUS")},
    {33304, Art("go-up")},
    {33305, Art("go-down")},
    {33306, Art("go-up")},
    {33307, Art("wxART_EDIT")},
    {33311, Art("wxART_FIND")},
    {33312, Art("wxART_DELETE")},
    {33315, Glyph(kN, 175)},  // an arpeggio
    {33316, Art("go-next")},
    {33317, Art("object-rotate-left")},
    {33321, Art("insert-text")},
    {33325, Art("format-indent-more")},
    {33328, Glyph(kF, 112)},
    {33329, Glyph(kF, 114)},
    {33332, Art("wxART_CUT")},
    {33333, Art("wxART_CUT")},
    {33334, Art("go-previous")},
    {33335, Art("go-next")},
    {33341, Glyph(kN, 236)},
    {33342, Art("insert-text")},
    {33359, Art("audio-volume-muted")},
    {33362, Art("process-stop")},
    {34280, Art("object-flip-horizontal")},
    {34281, Art("object-flip-horizontal")},
    // Music: clefs, keys, tunings, voices and rhythms.
    {33015, Glyph(kN, 151)},
    {33051, Glyph(kN, 151)},
    {33186, Glyph(kL, 'c')},
    {33187, Glyph(kN, 105)},
    {33188, Glyph(kL, 'd')},
    {33189, Glyph(kN, 150)},
    {33210, Glyph(kN, 114)},
    {33211, Glyph(kN, 104)},
    {33804, Glyph(kN, 150)},
    {33809, Glyph(kN, 34)},
    {33811, Glyph(kN, 35)},
    {34261, Glyph(kN, 108)},
    {34275, Glyph(kN, 151)},
    {34304, Glyph(kN, 104)},
    {34307, Glyph(kN, 35)},
    {34308, Glyph(kN, 34)},
    {-1086, Glyph(kF, 112)},
    {-1085, Glyph(kN, 105)},
    {-1072, Glyph(kN, 150)},
    // Playing.
    {32825, Art("media-playback-pause")},
    {32833, Art("wxART_LIST_VIEW")},  // the play list
    {32826, Art("document-send")},
    {32828, Art("audio-card")},
    {33164, Art("wxART_FILE_SAVE")},
    {33986, Art("audio-speakers")},
    {33987, Art("document-revert")},
    {34303, Art("appointment-soon", kN, 76)},
    {34341, Art("audio-speakers")},
});

// Badge colours, picked by id so that neighbours differ.
constexpr std::array<COLORREF, 6> kBadgeColours = {RGB(0x3B, 0x6E, 0xA5), RGB(0x5B, 0x8C, 0x3A), RGB(0xA5, 0x5B, 0x2E),
                                                   RGB(0x7A, 0x4E, 0x9C), RGB(0x2E, 0x8C, 0x8C), RGB(0x9C, 0x3B, 0x4E)};
// Drawn on this, then taken out: the badge's corners.
constexpr COLORREF kKeyColour = RGB(0xFF, 0x00, 0xFF);

bool Drawable(const IconSource& source) {
  if (source.kind != IconKind::kGlyph) return false;
  const GlyphMapEntry* entry = FindGlyph(source.role, source.code);
  return entry != nullptr && entry->kind == GlyphMapEntry::Kind::kSmufl;
}

// A glyph drawn black on white becomes black with the white as transparency.
DeviceBitmap DrawGlyph(const IconSource& source, int size) {
  ImageDevice device(size, size, 96, RGB(255, 255, 255));
  std::string text;
  AppendUtf8(text, source.code);
  FontSpec font;
  font.lfFaceName = std::string(RoleFaceName(source.role));
  font.lfHeight = -size;
  device.SelectFont(font);
  device.SetTextAlign(TA_LEFT | TA_BASELINE);
  Rect ink = device.GetTextInkBox(text);
  const int margin = std::max(1, size / 12);
  const int room = size - 2 * margin;
  const int inkWidth = ink.right - ink.left;
  const int inkHeight = ink.bottom - ink.top;
  if (inkWidth <= 0 || inkHeight <= 0) return {};
  // Scale the font so the ink fits the square, then centre the ink.
  const double scale = std::min(static_cast<double>(room) / inkWidth, static_cast<double>(room) / inkHeight);
  font.lfHeight = -std::max(1, static_cast<int>(size * scale));
  device.SelectFont(font);
  ink = device.GetTextInkBox(text);
  const int x = (size - (ink.right - ink.left)) / 2 - ink.left;
  const int y = (size - (ink.bottom - ink.top)) / 2 - ink.top;
  device.SetTextColor(RGB(0, 0, 0));
  device.SetBkMode(TRANSPARENT);
  device.TextOut(x, y, text);
  DeviceBitmap bitmap = device.ToBitmap();
  uint32_t* pixels = bitmap.Data();
  for (int64_t i = 0; i < int64_t(bitmap.Width()) * bitmap.Height(); ++i) {
    const uint32_t grey = pixels[i] & 0xFF;
    pixels[i] = (255 - grey) << 24;  // black, premultiplied
  }
  return bitmap;
}

DeviceBitmap DrawBadge(int id, std::string_view label, int size) {
  ImageDevice device(size, size, 96, kKeyColour);
  const COLORREF colour = kBadgeColours[static_cast<size_t>((id < 0 ? -id : id) % kBadgeColours.size())];
  const Pen oldPen = device.SelectPen(Pen::Create(PS_SOLID, 1, colour));
  const Brush oldBrush = device.SelectBrush(Brush::Solid(colour));
  const int inset = std::max(1, size / 16);
  device.Rectangle(inset, inset, size - inset, size - inset);
  device.SelectPen(oldPen);
  device.SelectBrush(oldBrush);
  FontSpec font;
  font.lfFaceName = "Arial";
  font.lfWeight = FW_BOLD;
  const std::string letters = BadgeLetters(label);
  font.lfHeight = -std::max(6, size * (letters.size() > 1 ? 9 : 12) / 20);
  device.SelectFont(font);
  device.SetTextColor(RGB(255, 255, 255));
  device.SetBkMode(TRANSPARENT);
  Rect box{0, 0, size, size};
  device.DrawText(letters, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  DeviceBitmap bitmap = device.ToBitmap();
  uint32_t* pixels = bitmap.Data();
  const uint32_t key = PixelFromColour(kKeyColour);
  for (int64_t i = 0; i < int64_t(bitmap.Width()) * bitmap.Height(); ++i) {
    if (pixels[i] == key) pixels[i] = 0;
  }
  return bitmap;
}

}  // namespace

IconSource IconFor(int id) {
  for (const IconEntry& entry : kIcons) {
    if (entry.id == id) return entry.source;
  }
  return {};
}

std::string BadgeLetters(std::string_view label) {
  std::string letters;
  bool wordStart = true;
  for (const char c : label) {
    const bool letter = std::isalnum(static_cast<unsigned char>(c)) != 0;
    if (letter && wordStart && letters.size() < 2) letters += c;
    wordStart = !letter && c != '\'';
  }
  if (letters.empty()) return "?";
  letters[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(letters[0])));
  return letters;
}

DeviceBitmap DrawFrameStylePicture(int style, int size) {
  ImageDevice device(size, size, 96, RGB(255, 255, 255));
  const Pen oldPen = device.SelectPen(Pen::Create(PS_SOLID, 1, RGB(0x80, 0x80, 0x80)));
  const Brush oldBrush = device.SelectBrush(Brush::Null());
  // The sheet, then one frame line per border, 2 pixels apart, inside it.
  device.Rectangle(0, 0, size, size);
  device.SelectPen(Pen::Create(PS_SOLID, 1, RGB(0, 0, 0)));
  const int first = std::max(3, size / 6);
  for (int i = 0; i < std::clamp(style, 0, 3); ++i) {
    const int inset = first + 2 * i;
    device.Rectangle(inset, inset, size - inset, size - inset);
  }
  device.SelectBrush(oldBrush);
  device.SelectPen(oldPen);
  return device.ToBitmap();
}

DeviceBitmap DrawIcon(const IconSource& source, int id, std::string_view label, int size) {
  // A theme's picture that is not there gives way to its glyph.
  const IconSource glyph = source.kind == IconKind::kArt ? Glyph(source.role, source.code) : source;
  if (Drawable(glyph)) {
    DeviceBitmap picture = DrawGlyph(glyph, size);
    if (!picture.IsEmpty()) return picture;
  }
  return DrawBadge(id, label, size);
}

}  // namespace vornel::bars
