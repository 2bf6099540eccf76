#pragma once
// "Image preview": one picture frame that shows an image file, drawn 200 ms after the dialog
// appears (so the dialog is on the screen at once, even for a large image).

#include <wx/timer.h>

#include <string>

#include "layout/ui/dialogs/TexturedDialog.h"
#include "model/text/DIBornament.h"

namespace vornel {

class DrawingPanel;

class CBitmapPreview : public TexturedDialog {
 public:
  enum : int { kFrame = 1750, kTimer = 1 };
  static constexpr int kDelayMs = 200;

  CBitmapPreview(wxWindow* parent, const std::string& path);
  // What the timer does: the picture goes into the frame, and the timer stops.
  void ShowPicture();
  bool PictureShown() const { return shown_; }
  bool TimerRunning() const { return timer_.IsRunning(); }

 private:
  DIBornament picture_;
  DrawingPanel* frame_;
  wxTimer timer_;
  bool shown_ = false;
};

// Shows the preview of `path` modally.
void ShowBitmapPreview(wxWindow* parent, const std::string& path);

}  // namespace vornel
