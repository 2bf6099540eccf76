#include "layout/ui/CRichTextDlg.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/clipbrd.h>
#include <wx/colordlg.h>
#include <wx/dataobj.h>
#include <wx/dcmemory.h>
#include <wx/fontdlg.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <exception>
#include <string>

#include "layout/richtext/RichPictures.h"
#include "layout/richtext/RichTextCache.h"
#include "platform/UserPrompts.h"
#include "platform/rtf/RtfReader.h"

namespace vornel {

namespace {

constexpr int kIconSize = 24;

wxString Wx(std::string_view utf8) { return wxString::FromUTF8(utf8.data(), utf8.size()); }

// The clipboard formats that carry RTF: the name other programs register, and the types of
// the desktop's clipboard.
const wxDataFormat& RtfFormat(int which) {
  static const wxDataFormat formats[] = {wxDataFormat("Rich Text Format"), wxDataFormat("text/rtf"),
                                         wxDataFormat("application/rtf")};
  return formats[which];
}

// A tool-bar picture drawn as a short label.
wxBitmap LabelIcon(const wxString& label, const wxColour& colour, wxFontWeight weight = wxFONTWEIGHT_NORMAL,
                   wxFontStyle style = wxFONTSTYLE_NORMAL, bool underlined = false) {
  wxBitmap bitmap(kIconSize, kIconSize);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  wxFont font(wxFontInfo(13).Family(wxFONTFAMILY_ROMAN).Style(style).Weight(weight).Underlined(underlined));
  dc.SetFont(font);
  dc.SetTextForeground(colour);
  const wxSize extent = dc.GetTextExtent(label);
  dc.DrawText(label, (kIconSize - extent.x) / 2, (kIconSize - extent.y) / 2);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

// Four lines of text set left, centred, right, or as a list.
wxBitmap LinesIcon(int mode) {
  wxBitmap bitmap(kIconSize, kIconSize);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  static const int kLengths[] = {16, 10, 16, 12};
  for (int i = 0; i < 4; ++i) {
    const int y = 5 + 4 * i;
    int length = kLengths[i];
    int x = 4;
    if (mode == 1) x = (kIconSize - length) / 2;
    if (mode == 2) x = kIconSize - 4 - length;
    if (mode == 3) {
      dc.DrawCircle(5, y, 1);
      x = 9;
      length = 11;
    }
    dc.DrawLine(x, y, x + length, y);
  }
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

wxBitmap PictureIcon() {
  wxBitmap bitmap(kIconSize, kIconSize);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(wxBrush(wxColour(170, 210, 240)));
  dc.DrawRectangle(3, 5, 18, 14);
  dc.SetBrush(wxBrush(wxColour(60, 140, 60)));
  const wxPoint hill[] = {{4, 18}, {10, 10}, {15, 15}, {17, 13}, {20, 18}};
  dc.DrawPolygon(5, hill);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

wxBitmap Art(const wxArtID& id) { return wxArtProvider::GetBitmap(id, wxART_TOOLBAR, wxSize(kIconSize, kIconSize)); }

}  // namespace

CRichTextDlg::CRichTextDlg(wxWindow* parent, RichTextEditorData& data)
    : wxDialog(parent, kDialogId, "Rich Text Editor", wxDefaultPosition, wxSize(640, 480),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      data_(data) {
  chooseFont = [this](wxFontData& fontData) {
    wxFontDialog dialog(this, fontData);
    if (dialog.ShowModal() != wxID_OK) return false;
    fontData = dialog.GetFontData();
    return true;
  };
  chooseColour = [this](wxColour& colour) {
    wxColourData colourData;
    colourData.SetColour(colour);
    wxColourDialog dialog(this, &colourData);
    if (dialog.ShowModal() != wxID_OK) return false;
    colour = dialog.GetColourData().GetColour();
    return true;
  };

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  CreateToolBar();
  sizer->Add(toolBar_, 0, wxEXPAND);
  control_ = new COleRichEditCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(600, 360));
  sizer->Add(control_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 4);
  sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALIGN_CENTER | wxALL, 6);
  SetSizer(sizer);
  Layout();
}

void CRichTextDlg::CreateToolBar() {
  toolBar_ = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTB_HORIZONTAL | wxTB_FLAT);
  toolBar_->SetToolBitmapSize(wxSize(kIconSize, kIconSize));
  const wxColour black(0, 0, 0);
  toolBar_->AddTool(kFontStyle, "Font style", LabelIcon("F", black), "Font style");
  toolBar_->AddTool(kBold, "Bold", LabelIcon("B", black, wxFONTWEIGHT_BOLD), "Bold");
  toolBar_->AddTool(kItalic, "Italic", LabelIcon("I", black, wxFONTWEIGHT_NORMAL, wxFONTSTYLE_ITALIC), "Italic");
  toolBar_->AddTool(kUnderline, "Underline", LabelIcon("U", black, wxFONTWEIGHT_NORMAL, wxFONTSTYLE_NORMAL, true),
                    "Underline");
  toolBar_->AddTool(kFontColour, "Font color", LabelIcon("A", wxColour(200, 0, 0), wxFONTWEIGHT_BOLD), "Font color");
  toolBar_->AddTool(kCenter, "Center", LinesIcon(1), "Center");
  toolBar_->AddTool(kLeftAlign, "Left align", LinesIcon(0), "Left align");
  toolBar_->AddTool(kRightAlign, "Right align", LinesIcon(2), "Right align");
  toolBar_->AddTool(kBullets, "Bulleted list", LinesIcon(3), "Bulleted list");
  toolBar_->AddTool(kInsertImage, "Insert image", PictureIcon(), "Insert image");
  toolBar_->AddTool(kOpen, "Open RTF format document", Art(wxART_FILE_OPEN), "Open RTF format document");
  toolBar_->AddTool(kSaveAs, "Save as RTF file", Art(wxART_FILE_SAVE_AS), "Save as RTF file");
  toolBar_->AddTool(kCopy, "Copy", Art(wxART_COPY), "Copy");
  toolBar_->AddTool(kPaste, "Paste", Art(wxART_PASTE), "Paste");
  toolBar_->Realize();
  toolBar_->Bind(wxEVT_TOOL, [this](wxCommandEvent& event) {
    // Nothing thrown by a command leaves the window system's callback.
    try {
      RunCommand(event.GetId());
    } catch (const std::exception& e) {
      Prompts().ShowMessage(e.what(), MessageKind::kError);
    }
  });
}

bool CRichTextDlg::TransferDataToWindow() {
  control_->SetRtf(data_.rtf);
  control_->SetEditable(!data_.readOnly);
  return true;
}

bool CRichTextDlg::TransferDataFromWindow() {
  data_.rtf = control_->GetRtf();
  data_.textLength = control_->TextLength();
  return true;
}

bool CRichTextDlg::RunCommand(int id) {
  switch (id) {
    case kFontStyle: ApplyFontStyle(); break;
    case kBold: control_->ApplyBoldToSelection(); break;
    case kItalic: control_->ApplyItalicToSelection(); break;
    case kUnderline: control_->ApplyUnderlineToSelection(); break;
    case kFontColour: ApplyColour(); break;
    case kCenter: control_->ApplyAlignmentToSelection(wxTEXT_ALIGNMENT_CENTRE); break;
    case kLeftAlign: control_->ApplyAlignmentToSelection(wxTEXT_ALIGNMENT_LEFT); break;
    case kRightAlign: control_->ApplyAlignmentToSelection(wxTEXT_ALIGNMENT_RIGHT); break;
    case kBullets: control_->ToggleBullets(); break;
    case kInsertImage: InsertImage(); break;
    case kOpen: OpenFile(); break;
    case kSaveAs: SaveFile(); break;
    case kCopy: Copy(); break;
    case kPaste: Paste(); break;
    default: return false;
  }
  control_->SetFocus();
  return true;
}

void CRichTextDlg::ApplyCharacterStyle(const wxRichTextAttr& attr) {
  if (control_->HasSelection()) {
    control_->SetStyleEx(control_->GetSelectionRange(), attr,
                         wxRICHTEXT_SETSTYLE_WITH_UNDO | wxRICHTEXT_SETSTYLE_CHARACTERS_ONLY);
  } else {
    wxRichTextAttr next = control_->GetDefaultStyleEx();
    next.Apply(attr);
    control_->SetDefaultStyle(next);
  }
}

void CRichTextDlg::ApplyFontStyle() {
  wxRichTextAttr current;
  control_->GetStyle(control_->HasSelection() ? control_->GetSelectionRange().GetStart() : control_->GetInsertionPoint(),
                     current);
  wxFontData fontData;
  fontData.SetInitialFont(current.GetFont());
  if (current.HasTextColour()) fontData.SetColour(current.GetTextColour());
  if (!chooseFont || !chooseFont(fontData)) return;
  const wxFont font = fontData.GetChosenFont();
  wxRichTextAttr attr;
  attr.SetFontFaceName(font.GetFaceName());
  attr.SetFontPointSize(font.GetPointSize());
  attr.SetFontWeight(font.GetWeight() >= wxFONTWEIGHT_BOLD ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
  attr.SetFontStyle(font.GetStyle() == wxFONTSTYLE_ITALIC ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
  attr.SetFontUnderlined(font.GetUnderlined());
  if (fontData.GetColour().IsOk()) attr.SetTextColour(fontData.GetColour());
  ApplyCharacterStyle(attr);
}

void CRichTextDlg::ApplyColour() {
  wxRichTextAttr current;
  control_->GetStyle(control_->GetInsertionPoint(), current);
  wxColour colour = current.HasTextColour() ? current.GetTextColour() : *wxBLACK;
  if (!chooseColour || !chooseColour(colour)) return;
  wxRichTextAttr attr;
  attr.SetTextColour(colour);
  ApplyCharacterStyle(attr);
}

void CRichTextDlg::InsertImage() {
  const auto path = Prompts().PromptOpenFile("Open a bitmap file", "*.bmp");
  if (!path) return;
  wxBusyCursor wait;
  // A file that does not decode is not inserted, and nothing is said.
  if (const auto picture = PictureFromImageFile(*path)) control_->InsertPicture(*picture);
}

void CRichTextDlg::OpenFile() {
  const auto path = Prompts().PromptOpenFile("Open a rich text format file", "*.rtf");
  if (!path) return;
  std::string error;
  bool stopped = false;
  const auto doc = ReadRichTextFile(*path, &error, &stopped);
  if (!doc) {
    Prompts().ShowMessage(error, MessageKind::kError);
    return;
  }
  if (stopped) Prompts().ShowMessage(RichTextCache::kReadError, MessageKind::kError);
  control_->SetDocument(*doc);
}

void CRichTextDlg::SaveFile() {
  const auto path = Prompts().PromptSaveFile("Save as a rich text file", "*.rtf", "");
  if (!path) return;
  std::string error;
  if (!WriteRichTextFile(*path, control_->GetDocument(), &error)) Prompts().ShowMessage(error, MessageKind::kError);
}

void CRichTextDlg::Copy() {
  if (!wxTheClipboard->Open()) return;
  wxTheClipboard->SetData(new wxTextDataObject(Wx(control_->GetSelText())));
  wxTheClipboard->Close();
}

void CRichTextDlg::Paste() {
  if (!wxTheClipboard->Open()) return;
  for (int which = 0; which < 3; ++which) {
    if (!wxTheClipboard->IsSupported(RtfFormat(which))) continue;
    wxCustomDataObject rtf(RtfFormat(which));
    if (!wxTheClipboard->GetData(rtf)) continue;
    const std::string_view bytes(static_cast<const char*>(rtf.GetData()), rtf.GetSize());
    wxTheClipboard->Close();
    const RtfReadResult read = ReadRtf(bytes);
    if (read.stopped) Prompts().ShowMessage(RichTextCache::kReadError, MessageKind::kError);
    control_->InsertDocument(read.document);
    return;
  }
  wxTheClipboard->Close();
  control_->Paste();
}

bool WxRichTextEditor::Edit(std::string& rtf, bool readOnly, int32_t& textLength) {
  RichTextEditorData data{rtf, readOnly, 0};
  CRichTextDlg dialog(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, data);
  if (dialog.ShowModal() != wxID_OK) return false;
  rtf = data.rtf;
  textLength = data.textLength;
  return true;
}

}  // namespace vornel
