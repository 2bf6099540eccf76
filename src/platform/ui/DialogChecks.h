#pragma once
// Small helpers the dialog windows share: the check of a dialog's struct with its message
// shown, the grid of labelled fields, and the exchange of stored colours (0x00BBGGRR) with the window system's.

#include <wx/colour.h>
#include <wx/sizer.h>

#include <cstdint>
#include <string>

#include "platform/UserPrompts.h"

namespace vornel {

// True when the struct's Validate() finds nothing; else its message is shown.
template <typename Fields>
bool PassesCheck(const Fields& fields) {
  const std::string message = fields.Validate();
  if (message.empty()) return true;
  Prompts().ShowMessage(message, MessageKind::kWarning);
  return false;
}

// Two columns, labels and their fields, the fields taking the width.
inline wxFlexGridSizer* FieldGrid() {
  auto* grid = new wxFlexGridSizer(2, wxSize(6, 2));
  grid->AddGrowableCol(1);
  return grid;
}

inline wxColour ColourOfColorRef(uint32_t c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

inline uint32_t ColorRefOfColour(const wxColour& c) {
  return static_cast<uint32_t>(c.Red()) | (static_cast<uint32_t>(c.Green()) << 8) |
         (static_cast<uint32_t>(c.Blue()) << 16);
}

}  // namespace vornel
