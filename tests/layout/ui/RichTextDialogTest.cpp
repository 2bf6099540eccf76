// The rich-text editor under a virtual display: dialog 1024 filled from the fixtures and read
// back, its tool-bar commands on a selection, pictures inserted, files saved and opened by the
// "txt" rule. Never shown modally.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/toolbar.h>

#include <string>
#include <string_view>

#include "layout/ui/CRichTextDlg.h"
#include "platform/draw/CairoDevice.h"
#include "platform/rtf/RtfReader.h"
#include "support/Bytes.h"
#include "support/RichTextDump.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::DescribeRichDocument;

std::string Fixture(std::string_view name) {
  return testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/tests/platform/rtf/" + std::string(name));
}

RichDocument Model(std::string_view rtf) { return ReadRtf(rtf).document; }

class RichTextDialog : public ::testing::Test {
 protected:
  RichTextEditorData data;
  CRichTextDlg* dialog = nullptr;

  void Open(std::string rtf, bool readOnly = false) {
    data.rtf = std::move(rtf);
    data.readOnly = readOnly;
    dialog = new CRichTextDlg(nullptr, data);
    ASSERT_TRUE(dialog->TransferDataToWindow());
  }
  RichDocument ReadBack() {
    EXPECT_TRUE(dialog->TransferDataFromWindow());
    return Model(data.rtf);
  }
  void TearDown() override {
    if (dialog != nullptr) dialog->Destroy();
    wxTheApp->ProcessIdle();
  }
};

TEST_F(RichTextDialog, IsDialog1024WithItsToolBarInOrder) {
  Open("");
  EXPECT_EQ(dialog->GetId(), 1024);
  EXPECT_EQ(dialog->GetTitle(), "Rich Text Editor");
  ASSERT_EQ(dialog->ToolBar().GetToolsCount(), CRichTextDlg::kToolOrder.size());
  for (size_t i = 0; i < CRichTextDlg::kToolOrder.size(); ++i) {
    EXPECT_EQ(dialog->ToolBar().GetToolByPos(static_cast<int>(i))->GetId(), CRichTextDlg::kToolOrder[i]) << i;
  }
  EXPECT_FALSE(dialog->RunCommand(1));
}

TEST_F(RichTextDialog, ModelThroughTheControlKeepsEveryAttribute) {
  for (const char* name : {"styles.rtf", "bullets.rtf", "pictures.rtf"}) {
    const std::string rtf = Fixture(name);
    Open(rtf);
    const RichDocument back = ReadBack();
    EXPECT_EQ(DescribeRichDocument(back), DescribeRichDocument(Model(rtf))) << name;
    EXPECT_TRUE(back == Model(rtf)) << name;
    EXPECT_GT(data.textLength, 0);
    dialog->Destroy();
    dialog = nullptr;
  }
}

TEST_F(RichTextDialog, BoldOnASelection) {
  Open(Fixture("styles.rtf"));
  COleRichEditCtrl& control = dialog->Control();
  control.SetSelection(0, 5);
  EXPECT_EQ(control.GetSelText(), "Plain");
  EXPECT_TRUE(dialog->RunCommand(CRichTextDlg::kBold));
  const RichDocument back = ReadBack();
  const RichRun& first = back.paragraphs[0].runs[0];
  EXPECT_EQ(first.text, "Plain");
  EXPECT_TRUE(first.format.bold);
  EXPECT_FALSE(back.paragraphs[0].runs[1].format.bold);  // the space after it
  EXPECT_EQ(back.paragraphs[0].runs[1].text, " ");
}

TEST_F(RichTextDialog, FormattingCommands) {
  Open("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\fs20 one two\\par three}");
  COleRichEditCtrl& control = dialog->Control();
  dialog->chooseFont = [](wxFontData& fontData) {
    fontData.SetChosenFont(wxFont(wxFontInfo(14).FaceName("Courier New").Italic()));
    fontData.SetColour(wxColour(0, 0, 255));
    return true;
  };
  dialog->chooseColour = [](wxColour& colour) {
    colour = wxColour(255, 0, 0);
    return true;
  };
  control.SetSelection(0, 3);
  dialog->RunCommand(CRichTextDlg::kFontStyle);
  control.SetSelection(4, 7);
  dialog->RunCommand(CRichTextDlg::kFontColour);
  dialog->RunCommand(CRichTextDlg::kUnderline);
  dialog->RunCommand(CRichTextDlg::kCenter);
  control.SetSelection(9, 10);
  dialog->RunCommand(CRichTextDlg::kRightAlign);
  dialog->RunCommand(CRichTextDlg::kBullets);
  RichDocument back = ReadBack();
  const RichRun& one = back.paragraphs[0].runs[0];
  EXPECT_EQ(one.text, "one");
  EXPECT_EQ(back.fonts[static_cast<size_t>(one.format.font)].name, "Courier New");
  EXPECT_EQ(one.format.halfPoints, 28);
  EXPECT_TRUE(one.format.italic);
  EXPECT_EQ(back.ColourOf(one.format.colour), RGB(0, 0, 255));
  const RichRun& two = back.paragraphs[0].runs[2];
  EXPECT_EQ(two.text, "two");
  EXPECT_EQ(back.ColourOf(two.format.colour), RGB(255, 0, 0));
  EXPECT_TRUE(two.format.underline);
  EXPECT_EQ(back.paragraphs[0].format.alignment, ParaFormat::kCenter);
  const ParaFormat& three = back.paragraphs[1].format;
  EXPECT_EQ(three.alignment, ParaFormat::kRight);
  EXPECT_TRUE(three.bullet);
  EXPECT_EQ(three.leftIndent, 720);
  EXPECT_EQ(three.firstIndent, -360);
  EXPECT_EQ(back.FindFont(three.bulletFont)->name, "Symbol");
  // The bullet written as the control writes it, and taken off again.
  EXPECT_NE(data.rtf.find("{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"),
            std::string::npos)
      << data.rtf;
  dialog->RunCommand(CRichTextDlg::kBullets);
  back = ReadBack();
  EXPECT_FALSE(back.paragraphs[1].format.bullet);
}

TEST_F(RichTextDialog, PicturesInsertedHaveTheirOwnPixels) {
  testing::TempDir dir;
  const std::string image = dir.File("dot.png");
  DeviceBitmap pixels(3, 2, RGB(10, 200, 30));
  std::string png;
  ASSERT_TRUE(EncodePng(pixels, png));
  testing::WriteText(image, png);
  testing::ScriptedPrompts prompts;
  Open("{\\rtf1 ab}");
  dialog->Control().SetInsertionPoint(1);
  prompts.QueueFile(image);
  prompts.QueueFile(image);
  prompts.QueueFile(dir.File("missing.bmp"));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(dialog->RunCommand(CRichTextDlg::kInsertImage));
  EXPECT_EQ(prompts.filePrompts.at(0), "Open a bitmap file|*.bmp||");
  const RichDocument back = ReadBack();
  EXPECT_NE(data.rtf.find("{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30\r\n"), std::string::npos) << data.rtf;
  ASSERT_EQ(back.paragraphs[0].runs.size(), 4u);
  EXPECT_EQ(back.paragraphs[0].runs[0].text, "a");
  const RichRun& first = back.paragraphs[0].runs[1];
  const RichRun& second = back.paragraphs[0].runs[2];
  ASSERT_TRUE(first.IsPicture() && second.IsPicture());
  EXPECT_EQ(first.picture->data, second.picture->data);
  EXPECT_NE(first.picture->data.data(), second.picture->data.data());
  EXPECT_EQ(back.paragraphs[0].runs[3].text, "b");
  EXPECT_TRUE(prompts.messages.empty());  // an image that does not load is left out quietly
}

TEST_F(RichTextDialog, ReadOnlyAndCleared) {
  Open("{\\rtf1 keep}", true);
  EXPECT_FALSE(dialog->Control().IsEditable());
  dialog->Destroy();
  Open("{\\rtf1 gone}");
  dialog->Control().SelectAll();
  dialog->Control().DeleteSelection();
  ReadBack();
  EXPECT_EQ(data.textLength, 0);
}

TEST_F(RichTextDialog, SavesAndOpensPlainTextByTheTxtRule) {
  testing::TempDir dir;
  testing::ScriptedPrompts prompts;
  Open("{\\rtf1 caf\\'e9 \\b bold}");
  for (const char* name : {"notes.txt", "notes.TXT", "notes.rtf"}) prompts.QueueFile(dir.File(name));
  for (int i = 0; i < 3; ++i) dialog->RunCommand(CRichTextDlg::kSaveAs);
  EXPECT_EQ(prompts.filePrompts.at(0), "Save as a rich text file|*.rtf||");
  EXPECT_EQ(testing::ReadText(dir.File("notes.txt")), "caf\xC3\xA9 bold");
  EXPECT_EQ(testing::ReadText(dir.File("notes.TXT")), "caf\xC3\xA9 bold");
  EXPECT_TRUE(testing::ReadText(dir.File("notes.rtf")).starts_with("{\\rtf1"));

  // Plain text that is not UTF-8 is Windows-1252.
  testing::WriteText(dir.File("old.txt"), "na\xEFve\r\n{\\rtf1 x}");
  prompts.QueueFile(dir.File("old.txt"));
  dialog->RunCommand(CRichTextDlg::kOpen);
  EXPECT_EQ(prompts.filePrompts.at(3), "Open a rich text format file|*.rtf||");
  EXPECT_EQ(ReadBack().PlainText(), "na\xC3\xAFve\n{\\rtf1 x}");
  prompts.QueueFile(dir.File("notes.rtf"));
  dialog->RunCommand(CRichTextDlg::kOpen);
  const RichDocument back = ReadBack();
  EXPECT_EQ(back.PlainText(), "caf\xC3\xA9 bold");
  EXPECT_TRUE(back.paragraphs[0].runs.back().format.bold);
}

TEST_F(RichTextDialog, CopiesTextAndPastesRtf) {
  Open("{\\rtf1 copy me}");
  dialog->Control().SetSelection(0, 4);
  dialog->RunCommand(CRichTextDlg::kCopy);
  if (!wxTheClipboard->Open()) GTEST_SKIP() << "no clipboard";
  wxTextDataObject text;
  const bool got = wxTheClipboard->GetData(text);
  wxTheClipboard->Close();
  if (!got) GTEST_SKIP() << "the clipboard keeps nothing here";
  EXPECT_EQ(text.GetText(), "copy");

  // RTF on the clipboard comes in with its formats, in place of the selection.
  ASSERT_TRUE(wxTheClipboard->Open());
  auto* rtf = new wxCustomDataObject(wxDataFormat("text/rtf"));
  const std::string bytes = "{\\rtf1 \\b bold}";
  rtf->SetData(bytes.size(), bytes.data());
  wxTheClipboard->SetData(rtf);
  wxTheClipboard->Close();
  dialog->Control().SetSelection(0, 4);
  dialog->RunCommand(CRichTextDlg::kPaste);
  const RichDocument back = ReadBack();
  EXPECT_EQ(back.PlainText(), "bold me");
  EXPECT_TRUE(back.paragraphs[0].runs[0].format.bold);
}

}  // namespace
}  // namespace vornel
