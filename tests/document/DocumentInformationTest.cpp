// The "Document information" and "Document associations" structs: the metadata texts in and
// out, the font buttons through the section editor, the previews of associated files (a beep
// for an empty one), and the associations' three paths and exactly three option bits.

#include <gtest/gtest.h>

#include "document/dialogs/DocumentInformation.h"
#include "model/score/SectionEditor.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(DocumentInformation, TextsGoBothWaysAndFontButtonsKeepTheEdit) {
  CDocumentSettings settings;
  settings.Text(CDocumentSettings::kTitle).text = "Lessons";
  settings.Text(CDocumentSettings::kComments).text = "for the lute";
  DocumentInformationFields fields;
  fields.Load(settings);
  EXPECT_EQ(fields.texts[0], "Lessons");
  EXPECT_EQ(fields.texts[5], "for the lute");
  fields.texts[1] = "J. Dowland";

  struct FontEditor : SectionEditor {
    std::string seen;
    bool EditTrackText(CTrackText& text) override {
      seen = text.text;
      text.font.logFont.lfWeight = 700;
      return true;
    }
  } editor;
  ScopedSectionEditor scoped(editor);
  EXPECT_TRUE(fields.EditFont(settings, 1));
  EXPECT_EQ(editor.seen, "J. Dowland");
  EXPECT_EQ(settings.Text(CDocumentSettings::kAuthor).font.logFont.lfWeight, 700);
  EXPECT_EQ(fields.texts[1], "J. Dowland");
  EXPECT_FALSE(fields.EditFont(settings, 6));

  fields.Store(settings);
  EXPECT_EQ(settings.Text(CDocumentSettings::kAuthor).text, "J. Dowland");
  EXPECT_EQ(settings.editTexts[CDocumentSettings::kEditAuthor], "J. Dowland");
  EXPECT_EQ(settings.editTexts[CDocumentSettings::kEditTitle], "Lessons");
}

TEST(DocumentInformation, PreviewsOpenTheFileOrOnlyBeep) {
  testing::ScriptedPrompts prompts;
  testing::RecordingLauncher launcher;
  ScopedPrograms scoped(launcher);
  CDocumentSettings settings;
  settings.associations["pdf-rendition"] = "/tmp/a.pdf";
  settings.associations["html-table"] = "";
  DocumentInformationFields::OpenAssociation(settings, CDocumentSettings::kPdfRendition);
  EXPECT_FALSE(DocumentInformationFields::OpenAssociation(settings, CDocumentSettings::kHtmlTable));
  EXPECT_FALSE(DocumentInformationFields::OpenAssociation(settings, CDocumentSettings::kZipBundle));
  EXPECT_EQ(DocumentInformationFields::ImageToPreview(settings), "");
  EXPECT_EQ(launcher.opened, std::vector<std::string>{"/tmp/a.pdf"});
  EXPECT_EQ(prompts.beeps, std::vector<BeepKind>(3, BeepKind::kExclamation));
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(DocumentAssociations, ThreePathsAndExactlyTheThreeBits) {
  CDocumentSettings settings;
  settings.associations["images-path"] = "C:\\scans\\p1.png";
  settings.associations["zip-bundle"] = "/tmp/b.zip";
  settings.bundleOptions = 0x7A;  // bit 1 and stray bits no box shows
  DocumentAssociationsFields fields;
  fields.Load(settings);
  EXPECT_EQ(fields.imagePath, "C:\\scans\\p1.png");
  EXPECT_EQ(fields.pdfPath, "");
  EXPECT_FALSE(fields.includeFacsimiles);
  EXPECT_TRUE(fields.includeMidiFiles);
  EXPECT_FALSE(fields.generateMidiFiles);

  // Cancel: the struct is dropped, the settings are as they were.
  const auto before = settings.associations;
  fields.pdfPath = "/tmp/a.pdf";
  EXPECT_EQ(settings.associations, before);
  EXPECT_EQ(settings.bundleOptions, 0x7A);

  fields.includeFacsimiles = true;
  fields.generateMidiFiles = true;
  fields.Store(settings);
  EXPECT_EQ(settings.bundleOptions, 7);
  EXPECT_EQ(settings.Association("pdf-rendition"), "/tmp/a.pdf");
  EXPECT_EQ(settings.Association("images-path"), "C:\\scans\\p1.png");
  EXPECT_EQ(settings.Association("zip-bundle"), "/tmp/b.zip");
}

}  // namespace
}  // namespace vornel
