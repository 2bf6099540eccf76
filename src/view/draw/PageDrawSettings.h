#pragma once
// What the drawing primitives read of the page settings being drawn. They reach them through
// the drawing context attached to the device (DrawContext.h); with none, the zoom counts as
// 100 and the options as off.

#include <cstdint>
#include <functional>
#include <string>

namespace vornel {

class CPageDlg;
class FontStack;
struct PageDrawSettings;

// What the page drawing reads of a document's page settings at `zoom`; colours, markers and
// event frames only `onScreen` (view/draw/DrawSettingsOf.cpp).
PageDrawSettings DrawSettingsOf(CPageDlg& page, int32_t zoom, bool onScreen);

struct PageDrawSettings {
  int zoom = 100;
  // The resolution of the screen the editing view last drew on: text offsets are kept in its
  // pixels and printing scales them to the printer's.
  int32_t screenDpiX = 96;
  int32_t screenDpiY = 96;
  bool colourOn = false;     // colour mode: off draws every note and text black
  bool showMarkers = false;  // the screen markers of blank columns and events
  const FontStack* fonts = nullptr;  // the document font stack
  // Staves
  bool timeProportional = false;    // columns follow the time of their elements
  int32_t barWidth = 400;           // tenths of a millimetre: a bar of the time-proportional layout
  int32_t staffLineThickness = 2;   // twentieths of a millimetre
  uint32_t staffLineColour = 0;     // 0x00BBGGRR
  uint32_t barLineColour = 0;
  bool greyInactive = false;        // staves and voices other than the active one in grey
  bool barNumbers = false;          // every fifth bar number
  int32_t barNumberHeight = 0;      // 0-7: how far above the stave bar numbers stand
  bool outlineBarNumbers = false;
  // Meta-events
  bool centerLyrics = false;        // lyrics centred on their chord
  bool showMetaEventFrames = false; // screen only: each event's frame and a line to its anchor
  // The footnotes of the page being drawn: the number the next footnote takes and the text
  // collected so far (both belong to the page settings; the page drawing resets them).
  int32_t* footnoteCounter = nullptr;
  std::string* footnoteText = nullptr;
  // Finds the file a stored picture path stands for (true and the path replaced when found);
  // without it a path is taken as it stands.
  std::function<bool(std::string&)> resolveImagePath;
};

}  // namespace vornel
