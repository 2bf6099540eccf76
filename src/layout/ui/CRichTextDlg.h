#pragma once
// "Rich Text Editor" (dialog 1024): the rich-text control under a formatting tool bar, with OK
// and Cancel centred below it; resizable. The tool bar's fourteen commands keep their ids:
// font style, bold, italic, underline, font colour, centre, left, right, bullets, insert
// image, open, save as, copy and paste. Files and images are asked for through Prompts();
// the font and colour choosers are members so that tests answer them.

#include <wx/colour.h>
#include <wx/dialog.h>
#include <wx/fontdata.h>

#include <array>
#include <functional>

#include "layout/richtext/RichTextFiles.h"
#include "layout/ui/COleRichEditCtrl.h"
#include "model/text/RichTextEditor.h"

class wxToolBar;

namespace vornel {

class CRichTextDlg : public wxDialog {
 public:
  static constexpr int kDialogId = 1024;
  enum Command : int {
    kFontStyle = 33271,
    kBold = 33267,
    kItalic = 33268,
    kUnderline = 33269,
    kFontColour = 33270,
    kCenter = 33262,
    kLeftAlign = 33263,
    kRightAlign = 33264,
    kBullets = 33265,
    kInsertImage = 33266,
    kOpen = 1568,
    kSaveAs = 1566,
    kCopy = 32992,
    kPaste = 32993,
  };
  // The tool bar's buttons, left to right.
  static constexpr std::array<int, 14> kToolOrder = {kFontStyle, kBold,    kItalic,      kUnderline, kFontColour,
                                                     kCenter,    kLeftAlign, kRightAlign, kBullets,   kInsertImage,
                                                     kOpen,      kSaveAs,  kCopy,        kPaste};

  CRichTextDlg(wxWindow* parent, RichTextEditorData& data);

  // The RTF into the control (read-only when asked).
  bool TransferDataToWindow() override;
  // The control's content back as RTF, with its length (0 when cleared).
  bool TransferDataFromWindow() override;

  // Carries out a tool-bar command; false for an id that is none of them.
  bool RunCommand(int id);

  COleRichEditCtrl& Control() { return *control_; }
  wxToolBar& ToolBar() { return *toolBar_; }

  // The choosers: true and the choice on OK. They run the system's dialogs unless replaced.
  std::function<bool(wxFontData&)> chooseFont;
  std::function<bool(wxColour&)> chooseColour;

 private:
  void CreateToolBar();
  void ApplyFontStyle();
  void ApplyColour();
  void InsertImage();
  void OpenFile();
  void SaveFile();
  void Copy();
  void Paste();
  // Applies character attributes to the selection, or to what is typed next.
  void ApplyCharacterStyle(const wxRichTextAttr& attr);

  RichTextEditorData& data_;
  wxToolBar* toolBar_ = nullptr;
  COleRichEditCtrl* control_ = nullptr;
};

// The editor of the rich-text blocks: the dialog, run modally on the application's window.
class WxRichTextEditor : public RichTextEditor {
 public:
  bool Edit(std::string& rtf, bool readOnly, int32_t& textLength) override;
};

}  // namespace vornel
