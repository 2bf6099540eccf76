#include "view/ui/facsimile/DelayedProgress.h"

#include <wx/progdlg.h>

#include <algorithm>

namespace vornel::view {

namespace {

constexpr auto kQuiet = std::chrono::milliseconds(500);
constexpr auto kRedraw = std::chrono::milliseconds(50);
constexpr int kRange = 1000;

}  // namespace

DelayedProgress::DelayedProgress(wxString title, wxString message, wxWindow* parent)
    : title_(std::move(title)), message_(std::move(message)), parent_(parent), started_(std::chrono::steady_clock::now()) {}

DelayedProgress::~DelayedProgress() = default;

bool DelayedProgress::Report(double part) {
  if (cancelled_) return false;
  const auto now = std::chrono::steady_clock::now();
  if (!dialog_) {
    if (now - started_ < kQuiet) return true;
    dialog_ = std::make_unique<wxProgressDialog>(title_, message_, kRange, parent_,
                                                 wxPD_CAN_ABORT | wxPD_APP_MODAL | wxPD_AUTO_HIDE | wxPD_ELAPSED_TIME);
  } else if (now - drawn_ < kRedraw) {
    return true;
  }
  drawn_ = now;
  const bool go = part < 0 ? dialog_->Pulse() : dialog_->Update(std::clamp(static_cast<int>(part * kRange), 0, kRange - 1));
  cancelled_ = !go;
  return go;
}

}  // namespace vornel::view
