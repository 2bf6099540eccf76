#include "view/ui/settings/TitlePageSettingsWindow.h"

#include <wx/filedlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "layout/ui/dialogs/ImagePreview.h"
#include "platform/ui/WxText.h"

namespace vornel {

TitlePageSettingsDialog::TitlePageSettingsDialog(wxWindow* parent, CTitlePage& page)
    : TexturedDialog(parent, wxID_ANY, "Title page & print settings"), page_(page) {
  CTitlePageDlg& f = fields_;
  auto* top = new wxBoxSizer(wxVERTICAL);

  auto* picture = new wxStaticBoxSizer(wxVERTICAL, this, "Title page image");
  wxWindow* box = picture->GetStaticBox();
  auto* pathRow = new wxBoxSizer(wxHORIZONTAL);
  imagePath_ = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(300, -1));
  auto* browse = new wxButton(box, wxID_ANY, "Browse", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  auto* preview = new wxButton(box, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  auto* clear = new wxButton(box, wxID_ANY, "CLEAR", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  clear->SetToolTip("Clear image path");
  pathRow->Add(imagePath_, 1, wxRIGHT, 3);
  for (wxButton* b : {browse, preview, clear}) pathRow->Add(b, 0, wxRIGHT, 3);
  picture->Add(pathRow, 0, wxEXPAND | wxALL, 3);
  auto* scaleGrid = new wxFlexGridSizer(2, wxSize(6, 2));
  scale_ = bound_.Number(box, scaleGrid, "Percentage of original size:", CTitlePageDlg::kMinScale,
                         CTitlePageDlg::kMaxScale, f.imageScale);
  picture->Add(scaleGrid);
  top->Add(picture, 0, wxEXPAND | wxALL, 4);

  auto* titles = new wxStaticBoxSizer(wxVERTICAL, this, "Title page");
  box = titles->GetStaticBox();
  bound_.Check(box, titles, "Print title page", f.printTitlePage);
  bound_.Check(box, titles, "Exclude document metadata", f.excludeMetadata);
  auto* grid = new wxFlexGridSizer(3, wxSize(6, 2));
  grid->AddGrowableCol(1);
  const char* labels[] = {"MainTitle", "Author", "Publisher", "Table header and font"};
  std::string* values[] = {&f.title, &f.author, &f.publisher, &f.contentsHeader};
  for (size_t i = 0; i < texts_.size(); ++i) {
    grid->Add(new wxStaticText(box, wxID_ANY, labels[i]), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    texts_[i] = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(260, -1));
    grid->Add(texts_[i], 1, wxEXPAND | wxALL, 3);
    auto* font = new wxButton(box, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    grid->Add(font, 0, wxALL, 3);
    font->Bind(wxEVT_BUTTON, [this, i, value = values[i]](wxCommandEvent&) {
      RunGuarded([&] {
        CTrackText& text = page_.Text(static_cast<CTitlePage::TextIndex>(i));
        text.text = texts_[i]->GetValue().utf8_string();
        SectionEditors().EditTrackText(text);
        *value = text.text;
        texts_[i]->ChangeValue(WxText(text.text));
      });
    });
  }
  titles->Add(grid, 0, wxEXPAND);
  auto* frameRow = new wxBoxSizer(wxHORIZONTAL);
  frameRow->Add(new wxStaticText(box, wxID_ANY, "Title page frame"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  frame_ = new wxChoice(box, wxID_ANY);
  for (std::string_view name : CTitlePageDlg::kFrames) frame_->Append(WxText(name));
  frameRow->Add(frame_);
  titles->Add(frameRow, 0, wxALL, 3);
  top->Add(titles, 0, wxEXPAND | wxALL, 4);

  auto* contents = new wxStaticBoxSizer(wxVERTICAL, this, "Table of contents");
  box = contents->GetStaticBox();
  printContents_ = bound_.Check(box, contents, "Print table of contents", f.printContents);
  contentsOptions_[0] = bound_.Check(box, contents, "Contents in 2 columns", f.twoColumns);
  contentsOptions_[1] = bound_.Check(box, contents, "Include page numbers", f.pageNumbers);
  contentsOptions_[2] = bound_.Check(box, contents, "Print Section Index Positions", f.sectionPositions);
  bound_.Check(box, contents, "Use RTF format", f.useRtf);
  bound_.Check(box, contents, "Print date stamp", f.dateStamp);
  auto* itemsGrid = new wxFlexGridSizer(2, wxSize(6, 2));
  maxItems_ = bound_.Number(box, itemsGrid, "Maximum items per page", 0, CTitlePageDlg::kMaxItems + 1, f.maxItems);
  contents->Add(itemsGrid);
  top->Add(contents, 0, wxEXPAND | wxALL, 4);

  auto* prefaceRow = new wxBoxSizer(wxHORIZONTAL);
  bound_.Check(this, prefaceRow, "Print preface", f.printPreface);
  auto* facsimiles = new wxButton(this, wxID_ANY, "Facsimile list");
  auto* editPreface = new wxButton(this, wxID_ANY, "Edit preface");
  auto* editTitle = new wxButton(this, wxID_ANY, "Edit formatted title ");
  for (wxButton* b : {facsimiles, editPreface, editTitle}) prefaceRow->Add(b, 0, wxLEFT, 4);
  // The rich-text editor on the title page's own texts: its OK keeps the text at once, as the
  // font buttons above keep theirs.
  editPreface->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { page_.preface.Edit(); }); });
  editTitle->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { page_.formattedTitle.EditRtf(); }); });
  // The list dialog edits the dialog's copy of the image list; this dialog's OK stores it.
  facsimiles->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { fields_.facsimiles.Run(); }); });
  top->Add(prefaceRow, 0, wxALL, 4);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  printContents_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateControls(); });
  clear->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ClearImage(); });
  preview->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      const std::string path = imagePath_->GetValue().utf8_string();
      if (!path.empty()) PreviewImage(this, path);
    });
  });
  browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      const std::optional<std::string> path = Prompts().PromptOpenFile("Title page image", CTitlePageDlg::kImageFilter, {});
      if (path) imagePath_->ChangeValue(WxText(*path));
    });
  });
}

bool TitlePageSettingsDialog::TransferDataToWindow() {
  fields_.Load(page_);
  bound_.ToWindow();
  imagePath_->ChangeValue(WxText(fields_.imagePath));
  const std::string* values[] = {&fields_.title, &fields_.author, &fields_.publisher, &fields_.contentsHeader};
  for (size_t i = 0; i < texts_.size(); ++i) texts_[i]->ChangeValue(WxText(*values[i]));
  frame_->SetSelection(fields_.frameStyle >= 0 && fields_.frameStyle < 4 ? fields_.frameStyle : wxNOT_FOUND);
  UpdateControls();
  return true;
}

void TitlePageSettingsDialog::ReadControls() {
  bound_.FromWindow();
  fields_.imagePath = imagePath_->GetValue().utf8_string();
  std::string* values[] = {&fields_.title, &fields_.author, &fields_.publisher, &fields_.contentsHeader};
  for (size_t i = 0; i < texts_.size(); ++i) *values[i] = texts_[i]->GetValue().utf8_string();
  fields_.frameStyle = frame_->GetSelection();
}

bool TitlePageSettingsDialog::TransferDataFromWindow() {
  ReadControls();
  return fields_.Store(page_);
}

void TitlePageSettingsDialog::ClearImage() {
  fields_.ClearImage();
  imagePath_->ChangeValue(wxEmptyString);
  scale_->SetValue(fields_.imageScale);
}

void TitlePageSettingsDialog::UpdateControls() {
  for (wxCheckBox* box : contentsOptions_) box->Enable(printContents_->GetValue());
}

bool ShowTitlePageSettings(wxWindow* parent, CTitlePage& page) {
  TitlePageSettingsDialog dialog(parent, page);
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace vornel
