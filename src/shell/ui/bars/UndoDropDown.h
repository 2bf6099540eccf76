#pragma once
// The pop-up of the Undo and Redo drop-downs: the document's entries, newest first, in a list
// where the pointer selects the entry under it and every newer one, and a label under the list
// that counts them ("Undo %d Actions"). A click undoes (or redoes) exactly that many steps.

#include <wx/popupwin.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/bars/UndoList.h"

class wxListBox;

namespace vornel {

class CUndoMenu : public wxPopupTransientWindow {
 public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 115;

  // `choose` receives the number of steps chosen.
  CUndoMenu(wxWindow* parent, const std::vector<std::string>& names, std::function<void(int steps)> choose);

  // The pointer is over item `item` (-1: over none).
  void Hover(int item);
  // A click on the list: the steps selected are chosen and the pop-up closes.
  void Choose();
  wxListBox* List() const { return list_; }
  const std::string& Label() const { return hover_.label; }

 private:
  void PlaceChildren();
  void OnPaint(wxPaintEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);

  wxListBox* list_ = nullptr;
  wxRect labelRect_;
  bars::UndoHover hover_;
  std::function<void(int)> choose_;
};

}  // namespace vornel
