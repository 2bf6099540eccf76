// The document settings windows under a virtual display: page settings (a refused field keeps
// every setting), the colour buttons' "Basic", the document fonts and a theme, the document
// information and its associations. Each is filled from its data and read back, never run
// modally; each is saved as a PNG for review.

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>

#include "support/ScriptedPrompts.h"
#include "view/draw/FontChooser.h"
#include "support/ui/DialogCapture.h"
#include "support/ui/WindowTest.h"
#include "view/ui/settings/DocumentSettingsWindows.h"
#include "view/ui/settings/TitlePageSettingsWindow.h"

namespace vornel {
namespace {

using DocumentSettingsWindowsTest = testing::WindowTest;

TEST_F(DocumentSettingsWindowsTest, PageSettingsRefuseBlanksFiveAndStoreNothing) {
  CPageDlg page;
  page.pageText = "Page %d";
  std::vector<std::string> writes;
  PageSettingsProfile profile{{}, [&](std::string_view k, std::string_view v) {
                                writes.push_back(std::string(k) + "=" + std::string(v));
                              }};
  PageSettingsDialog dialog(frame, page, profile);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.PageText()->GetValue(), "Page %d");
  EXPECT_EQ(dialog.Blanks()->GetValue(), 1);
  CaptureDialog(dialog, "page-settings");

  dialog.PageText()->ChangeValue("p. %d");
  dialog.Blanks()->SetValue(5);
  EXPECT_FALSE(dialog.TransferDataFromWindow());
  EXPECT_EQ(page.pageText, "Page %d");
  EXPECT_TRUE(writes.empty());
  ASSERT_EQ(prompts.messages.size(), 1u);

  dialog.Blanks()->SetValue(4);
  dialog.StaffLineColour()->ChooseBasic();
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(page.pageText, "p. %d");
  EXPECT_EQ(page.blanksBetweenSections, 4);
  EXPECT_EQ(page.stafflineColor, 0xFF00FFu);
  EXPECT_EQ(writes, (std::vector<std::string>{"BrailleLines=32", "BrailleColumns=25"}));
}

TEST_F(DocumentSettingsWindowsTest, DocumentFontsShowTheFontsAndApplyATheme) {
  CPageDlg page;
  DocumentFontsDialog dialog(frame, page);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.Description(kFontTitles)->GetValue().utf8_string(), page.DocumentFont(kFontTitles).GetDescription());
  EXPECT_EQ(dialog.Theme()->GetCount(), 2u);
  CaptureDialog(dialog, "document-fonts");
  prompts.QueueAnswer(Answer::kOk);
  dialog.ApplyTheme(0);
  EXPECT_EQ(page.DocumentFont(kFontTitles).logFont.lfFaceName, "Times New Roman");
  EXPECT_EQ(dialog.Description(kFontTitles)->GetValue().utf8_string(), page.DocumentFont(kFontTitles).GetDescription());
}

// The font buttons change the document's fonts at once: closing the dialog with Cancel (no
// transfer back) keeps the chosen font.
TEST_F(DocumentSettingsWindowsTest, DocumentFontsChosenFontOutlivesCancel) {
  struct Chooser : FontChooser {
    std::optional<FontChoice> Choose(const FontChoice&, bool) override { return FontChoice{"DejaVu Sans", 110, 700}; }
  } chooser;
  ScopedFontChooser scoped(chooser);
  CPageDlg page;
  const dfLogFont lyrics = page.DocumentFont(kFontLyrics);
  {
    DocumentFontsDialog dialog(frame, page);
    ASSERT_TRUE(dialog.TransferDataToWindow());
    auto* button = dynamic_cast<wxButton*>(wxWindow::FindWindowByLabel("Titles", &dialog));
    ASSERT_NE(button, nullptr);
    wxCommandEvent press(wxEVT_BUTTON, button->GetId());
    press.SetEventObject(button);
    button->ProcessWindowEvent(press);
    EXPECT_EQ(dialog.Description(kFontTitles)->GetValue().utf8_string(), page.DocumentFont(kFontTitles).GetDescription());
  }
  EXPECT_EQ(page.DocumentFont(kFontTitles).logFont.lfFaceName, "DejaVu Sans");
  EXPECT_EQ(page.DocumentFont(kFontTitles).logFont.lfWeight, 700);
  EXPECT_EQ(page.DocumentFont(kFontLyrics), lyrics);
}

TEST_F(DocumentSettingsWindowsTest, DocumentInformationAndAssociations) {
  CDocumentSettings settings;
  settings.Text(CDocumentSettings::kTitle).text = "Lessons";
  DocumentInformationDialog dialog(frame, settings);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.TextEdit(0)->GetValue(), "Lessons");
  CaptureDialog(dialog, "document-information");
  dialog.TextEdit(4)->ChangeValue("public domain");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(settings.Text(CDocumentSettings::kCopyright).text, "public domain");

  DocumentAssociationsFields fields;
  fields.pdfPath = "/tmp/a.pdf";
  fields.generateMidiFiles = true;
  DocumentAssociationsDialog associations(frame, fields);
  ASSERT_TRUE(associations.TransferDataToWindow());
  CaptureDialog(associations, "document-associations");
  ASSERT_TRUE(associations.TransferDataFromWindow());
  EXPECT_EQ(fields.pdfPath, "/tmp/a.pdf");
  EXPECT_TRUE(fields.generateMidiFiles);
  EXPECT_FALSE(fields.includeFacsimiles);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

TEST_F(DocumentSettingsWindowsTest, TitlePageSettingsContentsBoxesClearAndMaximumItems) {
  CTitlePage page;
  page.printContents = 1;
  page.picture.path = "/tmp/cover.png";
  page.picture.sizePercent = 60;
  TitlePageSettingsDialog dialog(frame, page);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_TRUE(dialog.ContentsOption(0)->IsEnabled());
  CaptureDialog(dialog, "title-page-settings");
  dialog.PrintContents()->SetValue(false);
  dialog.UpdateControls();
  for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(dialog.ContentsOption(i)->IsEnabled()) << i;

  dialog.MaxItems()->SetValue(0);
  EXPECT_FALSE(dialog.TransferDataFromWindow());
  EXPECT_EQ(page.printContents, 1);
  dialog.MaxItems()->SetValue(40);
  dialog.ClearImage();
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(page.picture.path, "");
  EXPECT_EQ(page.picture.sizePercent, 100u);
  EXPECT_EQ(page.maxLines, 40);
  EXPECT_EQ(page.printContents, 0);
}

}  // namespace
}  // namespace vornel
