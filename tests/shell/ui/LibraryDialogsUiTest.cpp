// The associations and file finder dialogs built on screen and exchanging data with their
// structures: the associations' clear, preview, MIDI coupling and HTML lock; the finder's
// types, search, exclusion, enabled batch buttons and its progress bar and status line.

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <fstream>

#include "shell/ui/library/AssociationsDialog.h"
#include "shell/ui/library/FileFinderDialog.h"
#include "support/Bytes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

TEST(AssociationsDialog, ExchangesTheFieldsClearsPreviewsAndCouplesTheMidiBoxes) {
  testing::ScriptedPrompts prompts;
  testing::RecordingLauncher launcher;
  DocumentAssociationFields fields;
  fields.imagePath = "/doc/title.png";
  fields.pdfPath = "/doc/score.pdf";
  fields.htmlPath = "/doc/page.html";
  fields.includeFacsimiles = true;
  CAssociationsDlg dialog(nullptr, fields, "/doc");
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Document associations");
  EXPECT_EQ(dialog.edits[CAssociationsDlg::kPdf]->GetValue(), "/doc/score.pdf");
  EXPECT_TRUE(dialog.includeFacsimiles->GetValue());
  // The HTML page is the export's: locked.
  EXPECT_FALSE(dialog.edits[CAssociationsDlg::kHtml]->IsEnabled());
  EXPECT_FALSE(dialog.previewButtons[CAssociationsDlg::kHtml]->IsEnabled());
  EXPECT_TRUE(dialog.previewButtons[CAssociationsDlg::kPdf]->IsEnabled());
  EXPECT_EQ(dialog.clearButtons[CAssociationsDlg::kImage]->GetToolTipText(), "Clear image path");

  dialog.Preview(CAssociationsDlg::kPdf);
  EXPECT_EQ(launcher.opened, std::vector<std::string>{"/doc/score.pdf"});
  dialog.Clear(CAssociationsDlg::kPdf);
  dialog.Preview(CAssociationsDlg::kPdf);  // an empty path only beeps
  EXPECT_EQ(prompts.beeps, std::vector<BeepKind>{BeepKind::kExclamation});
  EXPECT_EQ(launcher.opened.size(), 1u);

  for (const bool include : {true, false}) {
    dialog.includeMidiFiles->SetValue(include);
    dialog.OnIncludeMidi();
    EXPECT_EQ(dialog.autoGenerateMidi->GetValue(), include);
  }
  dialog.includeMidiFiles->SetValue(true);
  dialog.OnIncludeMidi();
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.pdfPath, "");
  EXPECT_EQ(fields.imagePath, "/doc/title.png");
  EXPECT_TRUE(fields.includeMidiFiles);
  EXPECT_TRUE(fields.autoGenerateMidi);

  // Unlocked, the HTML field can be edited.
  fields.lockHtmlField = false;
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_TRUE(dialog.edits[CAssociationsDlg::kHtml]->IsEnabled());
}

TEST(FileFinderDialog, TypesSearchExclusionButtonsAndProgress) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  for (const char* name : {"a.btxml", "b.btb", "c.BTB", "d.btz", "sub/e.btb"}) {
    fs::create_directories(fs::path(dir.File(name)).parent_path());
    std::ofstream(dir.File(name)) << "x";
  }
  FileFinder finder;
  finder.rootPath = dir.path();
  finder.Search();
  CFileFinderDlg dialog(nullptr, finder, {dir.File("XML"), "file:///site", {}});
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Vornel files search dialog");
  EXPECT_EQ(dialog.fileType->GetCount(), 5u);
  EXPECT_EQ(dialog.fileType->GetString(0), "All Vornel files");
  EXPECT_EQ(dialog.list->GetCount(), 3u);
  EXPECT_EQ(dialog.countText->GetLabel(), "3 files found");
  EXPECT_EQ(dialog.maximumFiles->GetValue(), 200);
  EXPECT_TRUE(dialog.recurse->GetValue());
  EXPECT_FALSE(dialog.convertButton->IsEnabled());
  EXPECT_FALSE(dialog.zipButton->IsEnabled());
  EXPECT_FALSE(dialog.excludeButton->IsEnabled());

  // "*.btb": the two binary documents (".BTB" is not one); conversion and backup enabled.
  dialog.fileType->SetSelection(2);
  dialog.SearchAgain();
  EXPECT_EQ(finder.fileType, 2);
  EXPECT_EQ(finder.files, (std::vector<std::string>{dir.File("b.btb"), dir.File("sub/e.btb")}));
  EXPECT_TRUE(dialog.convertButton->IsEnabled());
  EXPECT_FALSE(dialog.compressButton->IsEnabled());
  EXPECT_TRUE(dialog.zipButton->IsEnabled());
  dialog.recurse->SetValue(false);
  dialog.SearchAgain();
  EXPECT_EQ(dialog.list->GetCount(), 1u);

  dialog.list->SetSelection(0);
  dialog.ExcludeSelected();
  EXPECT_TRUE(finder.files.empty());
  EXPECT_EQ(dialog.countText->GetLabel(), "0 files found");

  dialog.maximumFiles->SetValue(12);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(finder.maxFilesToProcess, 12);

  // The progress of a run: the bar's range, the status line, Close turned into Cancel.
  dialog.Start(4, "Conversion");
  EXPECT_TRUE(dialog.progress->IsEnabled());
  EXPECT_EQ(dialog.progress->GetRange(), 4);
  EXPECT_EQ(dialog.closeButton->GetLabel(), "Cancel");
  EXPECT_TRUE(dialog.Step(3, "Processing file 3 - /x.btb"));
  EXPECT_EQ(dialog.progress->GetValue(), 2);
  EXPECT_EQ(dialog.status->GetLabel(), "Processing file 3 - /x.btb");
  dialog.Finish();
  EXPECT_FALSE(dialog.progress->IsEnabled());
  EXPECT_EQ(dialog.closeButton->GetLabel(), "Close");
}

}  // namespace
}  // namespace vornel
