#pragma once
// The rich-text control of the editor: a wxRichTextCtrl that exchanges its content with the
// rich-text model, and so with RTF. Every attribute of the model (fonts, half-point sizes,
// bold, italic, underline, colours, alignment, indents, spacing, tabs, bullets, pictures)
// survives a trip through the control: where the control keeps a value less exactly (tenths
// of a millimetre, whole points, its own bitmaps) the exact value rides along as a property
// of the object and is taken back as long as the control's value still matches it.

#include <wx/richtext/richtextctrl.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtf/RichText.h"

namespace vornel {

class COleRichEditCtrl : public wxRichTextCtrl {
 public:
  COleRichEditCtrl(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize);

  // Replaces the content by the rich text (or plain text); returns true. A text stopped by
  // the reader's limits shows what was read and says "Error reading RTF text".
  bool SetRtf(std::string_view rtf);
  // The content as RTF.
  std::string GetRtf() const;
  // The selected text, UTF-8.
  std::string GetSelText() const;

  void SetDocument(const RichDocument& doc);
  RichDocument GetDocument() const;
  // Puts the rich text at the insertion point in place of the selection (undoable).
  void InsertDocument(const RichDocument& doc);
  // Puts a picture at the insertion point in place of the selection (undoable).
  void InsertPicture(const RichPicture& picture);
  // Bullets on the paragraphs of the selection (or the caret's), or off when the first of
  // them has one: the symbol font's bullet hanging at a quarter of an inch, the text at half
  // an inch, as the rich-edit control makes them.
  void ToggleBullets();
  // Characters in the control, pictures and paragraph ends included; 0 when empty.
  int32_t TextLength() const { return static_cast<int32_t>(GetLastPosition()); }

 private:
  // Builds the model's paragraphs under `box`.
  void AppendParagraphs(wxRichTextParagraphLayoutBox& box, const RichDocument& doc);
  wxRichTextObject* MakeImage(const RichPicture& picture, const CharFormat& format, const RichDocument& doc);

  RichDocument base_;                  // header, fonts and colours of the text loaded
  std::vector<RichPicture> pictures_;  // the pictures put into the control, by property
};

}  // namespace vornel
