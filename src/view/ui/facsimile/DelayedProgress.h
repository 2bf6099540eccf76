#pragma once
// A progress window with Cancel for work that may take long (downloads, decoding large
// scans): it appears only once the work has run for half a second, so short work shows
// nothing, and it is redrawn at most every 50 ms, so frequent reports cost little.

#include <wx/string.h>

#include <chrono>
#include <memory>

class wxProgressDialog;
class wxWindow;

namespace vornel::view {

class DelayedProgress {
 public:
  DelayedProgress(wxString title, wxString message, wxWindow* parent);
  ~DelayedProgress();
  DelayedProgress(const DelayedProgress&) = delete;
  DelayedProgress& operator=(const DelayedProgress&) = delete;

  // `part` done, from 0 to 1; a negative part when the total is unknown (the bar pulses).
  // False once the user pressed Cancel.
  bool Report(double part);
  bool Shown() const { return dialog_ != nullptr; }

 private:
  wxString title_;
  wxString message_;
  wxWindow* parent_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point drawn_;
  std::unique_ptr<wxProgressDialog> dialog_;
  bool cancelled_ = false;
};

}  // namespace vornel::view
