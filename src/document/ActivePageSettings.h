#pragma once
// The page settings of the document being shown or drawn, for the drawing code that reaches
// them without a document at hand. The view sets it when it is initialised, gains the focus
// or prints, and the page renderer before it draws a page; it is null when no document is
// active.

#include <cstdint>

namespace vornel {

class CPageDlg;

CPageDlg* ActivePageSettings();
void SetActivePageSettings(CPageDlg* settings);

// The zoom percentage of the active page settings; 100 when there are none.
int32_t ActiveZoomPercent();

// Makes `settings` the active page settings for its lifetime and restores the previous ones.
class ScopedActivePageSettings {
 public:
  explicit ScopedActivePageSettings(CPageDlg* settings);
  ~ScopedActivePageSettings();
  ScopedActivePageSettings(const ScopedActivePageSettings&) = delete;
  ScopedActivePageSettings& operator=(const ScopedActivePageSettings&) = delete;

 private:
  CPageDlg* previous_;
};

}  // namespace vornel
