#include "view/ui/WxFontChooser.h"

#include <wx/fontdlg.h>

namespace vornel {

std::optional<FontChoice> WxFontChooser::Choose(const FontChoice& initial, bool effects) {
  wxFontData data;
  wxFontInfo info(initial.pointSize / 10.0);
  info.FaceName(wxString::FromUTF8(initial.face.c_str()))
      .Italic(initial.italic)
      .Underlined(initial.underline)
      .Strikethrough(initial.strikeOut);
  wxFont font(info);
  font.SetNumericWeight(initial.weight > 0 ? initial.weight : 400);
  data.SetInitialFont(font);
  data.EnableEffects(effects);
  data.SetColour(wxColour(GetRValue(initial.colour), GetGValue(initial.colour), GetBValue(initial.colour)));
  wxFontDialog dialog(parent_, data);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  const wxFontData& result = dialog.GetFontData();
  const wxFont chosen = result.GetChosenFont();
  FontChoice choice;
  choice.face = chosen.GetFaceName().ToStdString(wxConvUTF8);
  choice.pointSize = static_cast<int32_t>(chosen.GetFractionalPointSize() * 10.0 + 0.5);
  choice.weight = chosen.GetNumericWeight();
  choice.italic = chosen.GetStyle() != wxFONTSTYLE_NORMAL;
  choice.underline = chosen.GetUnderlined();
  choice.strikeOut = chosen.GetStrikethrough();
  const wxColour colour = result.GetColour();
  choice.colour = colour.IsOk() ? RGB(colour.Red(), colour.Green(), colour.Blue()) : initial.colour;
  return choice;
}

}  // namespace vornel
