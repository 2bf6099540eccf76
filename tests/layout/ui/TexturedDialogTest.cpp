// The textured bases tile their texture behind the dialog face and static texts only while the
// option is on, read at each repaint; edits keep the theme's colours.

#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "document/CBriotabDoc.h"
#include "layout/ui/dialogs/MetaEventDialogWindows.h"
#include "layout/ui/dialogs/SectionDialogWindows.h"
#include "layout/ui/dialogs/SectionTreeDialog.h"
#include "layout/ui/dialogs/TexturedDialog.h"
#include "model/score/CSystemArray.h"
#include "support/ui/DialogCapture.h"

namespace vornel {
namespace {

uint32_t PixelAt(const wxImage& image, wxPoint p) {
  return uint32_t(image.GetRed(p.x, p.y)) << 16 | uint32_t(image.GetGreen(p.x, p.y)) << 8 | image.GetBlue(p.x, p.y);
}

// A point of `window` well inside it, in its parent's client coordinates.
wxPoint Inside(wxWindow& window) {
  const wxRect r = window.GetRect();
  return {r.x + r.width / 2, r.y + r.height / 2};
}

class TexturedDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { SetTexturedBackgroundsReader(nullptr); }
  bool option_ = false;
  void Install() { SetTexturedBackgroundsReader([this] { return option_; }); }
};

TEST_F(TexturedDialogTest, DialogFaceFollowsTheOptionAtEachRepaint) {
  Install();
  TexturedDialog dialog(nullptr, wxID_ANY, "Textured");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto* label = new wxStaticText(&dialog, wxID_ANY, "A label over the texture");
  auto* edit = new wxTextCtrl(&dialog, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(200, 60), wxTE_MULTILINE);
  sizer->Add(label, 0, wxALL, 10);
  sizer->Add(edit, 0, wxALL, 10);
  sizer->Add(new wxButton(&dialog, wxID_OK, "OK"), 0, wxALL, 10);
  sizer->AddSpacer(120);
  dialog.SetSizerAndFit(sizer);
  const TextureTile tile = DrawTextureTile(DialogTexture::kDialog);
  const wxPoint face(dialog.GetClientSize().x - 20, dialog.GetClientSize().y - 20);

  const wxImage plain = CaptureDialog(dialog, "textured-dialog-off");
  EXPECT_NE(PixelAt(plain, face), tile.At(face.x, face.y));

  option_ = true;  // no call into the dialog: the next repaint reads the option
  const wxImage textured = CaptureDialog(dialog, "textured-dialog-on");
  EXPECT_EQ(PixelAt(textured, face), tile.At(face.x, face.y));
  EXPECT_EQ(PixelAt(textured, {face.x - 31, face.y - 7}), tile.At(face.x - 31, face.y - 7));
  // The edit keeps the theme's colour, the same as without the texture.
  EXPECT_EQ(PixelAt(textured, Inside(*edit)), PixelAt(plain, Inside(*edit)));

  option_ = false;
  EXPECT_EQ(PixelAt(CaptureDialog(dialog), face), PixelAt(plain, face));
}

TEST_F(TexturedDialogTest, SheetAndPagesUseTheSheetTextureAndColours) {
  Install();
  option_ = true;
  TexturedPropertySheet sheet(nullptr);
  EXPECT_EQ(sheet.GetTitle(), "Instrument");
  auto* page = new TexturedPage(sheet.GetBookCtrl(), wxID_ANY);
  auto* pageSizer = new wxBoxSizer(wxVERTICAL);
  pageSizer->Add(new wxStaticText(page, wxID_ANY, "Staves"), 0, wxALL, 10);
  pageSizer->AddSpacer(150);
  page->SetSizer(pageSizer);
  sheet.GetBookCtrl()->AddPage(page, "Staves");
  sheet.CreateButtons(wxOK | wxCANCEL);
  sheet.LayoutDialog();
  EXPECT_EQ(sheet.Background().SolidColour(), wxColour(0xEB, 0xE6, 0xE6));
  EXPECT_EQ(page->Background().SolidColour(), wxColour(0xF0, 0xFA, 0xF0));
  EXPECT_EQ(TexturedPropertySheet(nullptr, TexturedPropertySheet::kWizardCaption).GetTitle(), "Vornel Document Wizard");

  sheet.Show();
  const wxImage shown = CaptureDialog(sheet, "textured-sheet");
  // A point of the page, away from its text, shows the sheet texture from the page's origin.
  const wxPoint origin = sheet.ScreenToClient(page->GetScreenPosition());
  const wxSize pageSize = page->GetClientSize();
  const wxPoint inPage(pageSize.x - 12, pageSize.y - 12);
  const TextureTile tile = DrawTextureTile(DialogTexture::kSheet);
  EXPECT_EQ(PixelAt(shown, origin + inPage), tile.At(inPage.x, inPage.y));
}

// The editing dialogs stand on the textured base: with the option on, the face at the corner
// of each, clear of its controls, shows the dialog texture.
TEST_F(TexturedDialogTest, EditingDialogsShowTheTexture) {
  Install();
  option_ = true;
  CBriotabDoc doc;
  doc.AppendSection(std::make_unique<CSystemArray>());
  CLyricsDlg lyrics;
  CClefChange clef;
  CMetaReprise reprise;
  CTrackTextDlg caption;
  caption.title = "Caption editor";
  SectionTreeDialog tree(nullptr, doc);
  LyricsDialog lyricsWindow(nullptr, lyrics);
  ClefDialog clefWindow(nullptr, clef);
  RepriseDialog repriseWindow(nullptr, reprise);
  TrackTextDialog captionWindow(nullptr, caption);
  const TextureTile tile = DrawTextureTile(DialogTexture::kDialog);
  for (TexturedDialog* dialog : std::initializer_list<TexturedDialog*>{&tree, &lyricsWindow, &clefWindow,
                                                                       &repriseWindow, &captionWindow}) {
    EXPECT_TRUE(dialog->Background().Shows()) << dialog->GetTitle();
    const wxImage shown = CaptureDialog(*dialog);
    const wxPoint corner(dialog->GetClientSize().x - 2, dialog->GetClientSize().y - 2);
    EXPECT_EQ(PixelAt(shown, corner), tile.At(corner.x, corner.y)) << dialog->GetTitle();
    dialog->Hide();
  }
}

}  // namespace
}  // namespace vornel
