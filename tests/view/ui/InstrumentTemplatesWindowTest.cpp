// The instrument templates dialog over a base of the built-in definitions: the staff shows the
// selected definition, the family tabs filter the list, a cancelled "Add instrument" changes nothing, an import appends, the list
// keeps the shown tab, "Unsorted list" twice returns to the report view, and OK without a
// selection chooses nothing.

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>

#include "document/DocumentEnvironment.h"
#include "view/ui/instrument/InstrumentTemplatesWindow.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "model/score/SectionEditor.h"
#include "platform/io/FileIO.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

class CancellingEditor : public SectionEditor {
 public:
  int asked = 0;
  bool EditInstrument(CInstrumentDlg&) override {
    ++asked;
    return false;
  }
};

TEST(InstrumentTemplatesWindow, BrowsesAndEditsTheBase) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  const std::string savedBase = Environment().instrumentBasePath;
  Environment().instrumentBasePath = dir.File("Base.btix");
  CancellingEditor editor;
  ScopedSectionEditor scopedEditor(editor);

  CInstrumentTemplates base;
  base.instruments.FillFromTemplates();
  base.basePath = dir.File("Base.btix");
  InstrumentTemplatesWindow window(nullptr, base);
  EXPECT_EQ(window.GetTitle(), "Instrument base: Base.btix");
  EXPECT_EQ(window.tabs->GetPageCount(), 12u);
  EXPECT_EQ(window.list->GetItemCount(), static_cast<int>(kTemplateSetSize));
  EXPECT_TRUE(window.list->InReportView());
  EXPECT_EQ(window.list->Selected(), base.instruments.at(0));
  EXPECT_EQ(window.Background().Texture(), DialogTexture::kSheet);

  // The staff shows the selected definition, as notation until "Tablature" is chosen.
  StaffPreview& staff = window.preview->Preview();
  EXPECT_EQ(staff.Line().definition->nameText.text, base.instruments.at(0)->nameText.text);
  EXPECT_FALSE(staff.Line().GetCurrentStave()->IsTablature());
  window.tablature->SetValue(true);
  window.ShowPreview();
  EXPECT_TRUE(staff.Line().GetCurrentStave()->IsTablature());
  window.notation->SetValue(true);

  // "Guitar" lists family 4 only.
  window.SelectTab(5);
  ASSERT_EQ(window.list->GetItemCount(), 2);
  EXPECT_EQ(window.list->GetItemText(0), "Baroque guitar");
  EXPECT_EQ(window.list->GetItemText(0, 1), "EBGDA");

  // A cancelled add changes nothing.
  window.list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  window.AddInstrument();
  EXPECT_EQ(editor.asked, 1);
  EXPECT_EQ(base.instruments.size(), kTemplateSetSize);
  EXPECT_EQ(window.list->GetItemCount(), 2);
  EXPECT_FALSE(base.modified);

  // An import appends after the existing definitions; the list keeps the shown tab.
  CInstrumentTemplates other;
  auto guitar = std::make_unique<CInstrumentDlg>();
  guitar->SetFromTemplate(InstrumentTemplateSet(kModernSet)[0]);
  other.instruments.push_back(std::move(guitar));
  const std::vector<uint8_t> bytes = other.BinaryBaseBytes("9.8.1.0");
  ASSERT_TRUE(WriteFileAtomically(dir.File("Modern.btbi"), std::span<const uint8_t>(bytes)));
  prompts.QueueAnswer(Answer::kOk);
  window.ImportBase(dir.File("Modern.btbi"));
  ASSERT_EQ(base.instruments.size(), kTemplateSetSize + 1);
  EXPECT_EQ(base.instruments.back()->nameText.text, "Modern guitar");
  EXPECT_EQ(window.ShownTab(), 5u);
  EXPECT_EQ(window.list->GetItemCount(), 3);
  EXPECT_TRUE(base.modified);

  // "Unsorted list" twice returns to the report view.
  window.ToggleUnsorted();
  EXPECT_FALSE(window.list->InReportView());
  window.ToggleUnsorted();
  EXPECT_TRUE(window.list->InReportView());
  EXPECT_EQ(window.list->GetColumnCount(), 8);

  // OK without a selection chooses nothing; the save question is asked and answered No.
  for (long item = 0; item < window.list->GetItemCount(); ++item) window.list->SetItemState(item, 0, wxLIST_STATE_SELECTED);
  prompts.QueueAnswer(Answer::kNo);
  EXPECT_TRUE(window.Close(true));
  EXPECT_EQ(window.Chosen(), nullptr);
  EXPECT_EQ(prompts.questions.back(), CInstrumentTemplates::kSaveQuestion);
  Environment().instrumentBasePath = savedBase;
}

}  // namespace
}  // namespace vornel
