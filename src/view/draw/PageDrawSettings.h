#pragma once
// What the drawing primitives read of the page settings being drawn: one program-wide
// pointer, set by whoever draws a page (the page renderer, the view, printing) and cleared
// when it is done. With none set, the zoom counts as 100 and the options as off.

namespace vornel {

class FontStack;

struct PageDrawSettings {
  int zoom = 100;
  bool colourOn = false;     // colour mode: off draws every note and text black
  bool showMarkers = false;  // the screen markers of blank columns and events
  const FontStack* fonts = nullptr;  // the document font stack
};

const PageDrawSettings* ActivePageSettings();
void SetActivePageSettings(const PageDrawSettings* settings);

// Makes `settings` current for its lifetime and puts the previous ones back.
class ScopedPageSettings {
 public:
  explicit ScopedPageSettings(const PageDrawSettings* settings) : previous_(ActivePageSettings()) {
    SetActivePageSettings(settings);
  }
  ~ScopedPageSettings() { SetActivePageSettings(previous_); }
  ScopedPageSettings(const ScopedPageSettings&) = delete;
  ScopedPageSettings& operator=(const ScopedPageSettings&) = delete;

 private:
  const PageDrawSettings* previous_;
};

}  // namespace vornel
