// The "Sections" tree on a wxTreeCtrl over a document, and "Page formatting" with its page
// setup (run by a script here, never modally).

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/slider.h>

#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "layout/ui/dialogs/PaperSetup.h"
#include "layout/ui/dialogs/SectionDialogWindows.h"
#include "layout/ui/dialogs/SectionTreeDialog.h"
#include "model/score/CSystemArray.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/DialogCapture.h"

namespace vornel {
namespace {

struct SuiteDocument {
  CBriotabDoc doc;
  SuiteDocument() {
    for (const char* title : {"Pavan", "Galliard", "Almain"}) {
      auto section = std::make_unique<CSystemArray>();
      section->Title().text = title;
      doc.AppendSection(std::move(section));
    }
    doc.SetTitle("Suite");
  }
  std::string Titles() const {
    std::string titles;
    for (size_t i = 0; i < doc.sections.size(); ++i) titles += doc.sections.at(i)->Title().text + " ";
    return titles;
  }
};

TEST(SectionTreeWindow, DropsMoveSectionsAndEmptyTheUndoList) {
  testing::ScriptedPrompts prompts;
  SuiteDocument suite;
  suite.doc.SaveSnapshot();
  ASSERT_TRUE(suite.doc.CanUndo());
  SectionTreeDialog dialog(nullptr, suite.doc);
  wxTreeCtrl* tree = dialog.Tree();
  EXPECT_EQ(tree->GetItemText(tree->GetRootItem()), "Suite");
  EXPECT_EQ(tree->GetChildrenCount(tree->GetRootItem(), false), 3u);

  // Pavan onto Almain: Pavan becomes Almain's child and the last section.
  ASSERT_TRUE(dialog.DropItem(dialog.ItemAt({0}), dialog.ItemAt({2})));
  EXPECT_EQ(suite.Titles(), "Galliard Almain Pavan ");
  EXPECT_FALSE(suite.doc.CanUndo());
  EXPECT_EQ(tree->GetChildrenCount(dialog.ItemAt({1}), false), 1u);

  // Onto itself, its child or its parent: a beep, nothing moved.
  EXPECT_FALSE(dialog.DropItem(dialog.ItemAt({1}), dialog.ItemAt({1})));
  EXPECT_FALSE(dialog.DropItem(dialog.ItemAt({1}), dialog.ItemAt({1, 0})));
  EXPECT_FALSE(dialog.DropItem(dialog.ItemAt({1, 0}), dialog.ItemAt({1})));
  EXPECT_FALSE(dialog.DropItem(dialog.ItemAt({0}), wxTreeItemId()));
  EXPECT_EQ(prompts.beeps.size(), 4u);
  EXPECT_EQ(suite.Titles(), "Galliard Almain Pavan ");

  // A heading takes sections under it without becoming one.
  dialog.AddChapter();
  ASSERT_TRUE(dialog.ItemAt({2}).IsOk());
  EXPECT_EQ(tree->GetItemText(dialog.ItemAt({2})), "NEW CHAPTER");
  ASSERT_TRUE(dialog.DropItem(dialog.ItemAt({0}), dialog.ItemAt({2})));
  EXPECT_EQ(suite.doc.sections.size(), 3u);
  EXPECT_EQ(suite.Titles(), "Almain Pavan Galliard ");
  SavePng(dialog, "section-tree");
}

TEST(SectionTreeWindow, SortedViewAppliesAsAPermutation) {
  testing::ScriptedPrompts prompts;
  SuiteDocument suite;
  SectionTreeDialog dialog(nullptr, suite.doc);
  auto* sorted = dynamic_cast<wxCheckBox*>(dialog.FindWindow(SectionTreeDialog::kSorted));
  ASSERT_NE(sorted, nullptr);
  sorted->SetValue(true);
  wxCommandEvent checked(wxEVT_CHECKBOX, SectionTreeDialog::kSorted);
  checked.SetInt(1);
  sorted->GetEventHandler()->ProcessEvent(checked);
  ASSERT_TRUE(dialog.ApplyOrder());
  EXPECT_EQ(suite.Titles(), "Almain Galliard Pavan ");
  EXPECT_EQ(suite.doc.sections.at(0)->index, 0);
}

TEST(PageFormattingWindow, FieldsAndThePageSetup) {
  struct Case {
    int code;
    wxPaperSize id;
  };
  for (const Case c : {Case{1, wxPAPER_LETTER}, Case{5, wxPAPER_LEGAL}, Case{8, wxPAPER_A3}, Case{9, wxPAPER_A4},
                       Case{11, wxPAPER_A5}}) {
    EXPECT_EQ(PaperIdForCode(c.code), c.id);
    EXPECT_EQ(PaperCodeForId(c.id), c.code);
  }
  EXPECT_EQ(PaperIdForCode(70), wxPAPER_A4);
  CPageDlg page;
  page.paperFormat = 9;
  wxPrintData chosen;
  chosen.SetPaperId(wxPAPER_B5);  // unknown to the settings: the paper stays
  chosen.SetOrientation(wxLANDSCAPE);
  TakePrintData(page, chosen);
  EXPECT_EQ(page.paperFormat, 9);
  EXPECT_EQ(page.landscape, 1);

  CReformatPageDlg fields;
  fields.pageSettings = &page;
  int setups = 0;
  PageFormattingDialog dialog(nullptr, fields, [&setups](CPageDlg& settings) {
    ++setups;
    wxPrintData data;
    data.SetPaperId(wxPAPER_A3);
    data.SetOrientation(wxPORTRAIT);
    TakePrintData(settings, data);
    return true;
  });
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Page formatting");
  EXPECT_EQ(dynamic_cast<wxChoice*>(dialog.FindWindow(PageFormattingDialog::kTitle))->GetStringSelection(), "Center");
  EXPECT_FALSE(dialog.FindWindow(PageFormattingDialog::kStaves)->IsEnabled());
  SavePng(dialog, "page-formatting");
  wxCommandEvent click(wxEVT_BUTTON, PageFormattingDialog::kPageFormat);
  dialog.FindWindow(PageFormattingDialog::kPageFormat)->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(setups, 1);
  EXPECT_EQ(page.paperFormat, 8);
  EXPECT_EQ(page.landscape, 0);
  dynamic_cast<wxSlider*>(dialog.FindWindow(PageFormattingDialog::kSpacing))->SetValue(140);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.spacing, 140);
}

}  // namespace
}  // namespace vornel
