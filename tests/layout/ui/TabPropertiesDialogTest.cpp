// Dialog 353 exchanges its data with a CTabProperties; "Export all sections" stays disabled.

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>

#include "layout/ui/TabPropertiesDialog.h"

namespace vornel {
namespace {

TEST(TabPropertiesDialog, FilledFromTheStructAndReadBack) {
  CTabProperties options;
  options.baroqueStyle = 1;
  options.flags = 6;
  options.staveLines = 3;
  options.styles = 2;
  options.fontSize = 1;
  options.barNumbers = 1;
  options.exportAllSections = 1;
  TabPropertiesDialog dialog(nullptr, options);
  ASSERT_TRUE(dialog.TransferDataToWindow());

  auto* flags = static_cast<wxChoice*>(dialog.FindWindow(TabPropertiesDialog::kFlags));
  ASSERT_EQ(flags->GetCount(), 7u);
  EXPECT_EQ(flags->GetString(4), "Thin line ");
  EXPECT_EQ(flags->GetString(6), "");
  EXPECT_EQ(flags->GetSelection(), 6);
  auto* lines = static_cast<wxChoice*>(dialog.FindWindow(TabPropertiesDialog::kStaveLines));
  EXPECT_EQ(lines->GetCount(), 4u);
  EXPECT_EQ(lines->GetString(3), "");
  EXPECT_EQ(static_cast<wxChoice*>(dialog.FindWindow(TabPropertiesDialog::kFontSize))->GetStringSelection(), "94%");
  EXPECT_EQ(static_cast<wxChoice*>(dialog.FindWindow(TabPropertiesDialog::kStyles))->GetStringSelection(), "Calvonet");
  auto* all = static_cast<wxCheckBox*>(dialog.FindWindow(TabPropertiesDialog::kExportAllSections));
  EXPECT_EQ(all->GetLabel(), "Export all sections");
  EXPECT_FALSE(all->IsEnabled());
  EXPECT_TRUE(static_cast<wxCheckBox*>(dialog.FindWindow(TabPropertiesDialog::kBaroqueStyle))->GetValue());
  EXPECT_EQ(dialog.GetTitle(), "Tab formatting options");

  // Changed in the window, read back into the struct.
  static_cast<wxCheckBox*>(dialog.FindWindow(TabPropertiesDialog::kBaroqueStyle))->SetValue(false);
  static_cast<wxCheckBox*>(dialog.FindWindow(TabPropertiesDialog::kItalianMode))->SetValue(true);
  lines->SetSelection(1);
  flags->SetSelection(0);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(options.baroqueStyle, 0);
  EXPECT_EQ(options.italianTablatureMode, 1);
  EXPECT_EQ(options.staveLines, 1);
  EXPECT_EQ(options.flags, 0);
  EXPECT_EQ(options.fontSize, 1);
  EXPECT_EQ(options.barNumbers, 1);
  EXPECT_FALSE(all->IsEnabled());
  EXPECT_EQ(options.BuildOptionLines(), "\n-P \n-C \n-4 \n-N \n-R95 \n-H ");
}

}  // namespace
}  // namespace vornel
