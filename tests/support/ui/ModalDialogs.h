#pragma once
// Modal dialogs in window tests. No test waits for a user: a modal dialog that opens while no
// test drives it fails the test and is cancelled before it shows (`ModalDialogGuard`, installed
// by the tests' main). A `DialogDriver` lets a dialog run as the editor runs it, modal, and
// works it from inside its loop with real input (clicks on its controls, keys); a dialog the
// driver leaves open fails the test and is cancelled, so a run never hangs.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vornel::testing {

class DialogDriver;

inline DialogDriver*& CurrentDialogDriver() {
  static DialogDriver* driver = nullptr;
  return driver;
}

class DialogDriver {
 public:
  using Drive = std::function<void(wxDialog& dialog)>;
  explicit DialogDriver(Drive drive)
      : drive_(std::move(drive)), previous_(std::exchange(CurrentDialogDriver(), this)) {}
  ~DialogDriver() { CurrentDialogDriver() = previous_; }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // The titles of the dialogs that opened, in order.
  std::vector<std::string> opened;

  // Called as the dialog's modal loop is about to run: the driving comes once it runs.
  int Enter(wxDialog& dialog) {
    // The file dialog announces itself twice (its own showing, then the dialog's it runs on).
    if (entering_ == &dialog) return wxID_NONE;
    entering_ = &dialog;
    opened.emplace_back(dialog.GetTitle().utf8_str());
    wxDialog* target = &dialog;
    dialog.CallAfter([this, target] {
      entering_ = nullptr;
      drive_(*target);
      if (target->IsModal()) {
        ADD_FAILURE() << "the dialog \"" << target->GetTitle() << "\" was left open";
        target->EndModal(wxID_CANCEL);
      }
    });
    return wxID_NONE;
  }

 private:
  Drive drive_;
  DialogDriver* previous_;
  wxDialog* entering_ = nullptr;
};

class ModalDialogGuard : public wxModalDialogHook {
 public:
  ModalDialogGuard() { Register(); }

 protected:
  int Enter(wxDialog* dialog) override {
    if (DialogDriver* driver = CurrentDialogDriver()) return driver->Enter(*dialog);
    ADD_FAILURE() << "a modal dialog opened that no test drives: \"" << dialog->GetTitle() << "\"";
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

}  // namespace vornel::testing
