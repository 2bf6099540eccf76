// The template list on screen lists its entries and hands back the selection.

#include <gtest/gtest.h>
#include <wx/listbox.h>

#include "shell/ui/TemplateListWindow.h"

namespace vornel {
namespace {

TEST(TemplateListWindow, ListsTheEntriesAndTakesTheSelection) {
  CTemplateList list;
  list.entries = {"Baroque guitar.bttx", "Theorbo in A.bttx"};
  TemplateListWindow window(nullptr, list);
  EXPECT_EQ(window.GetTitle(), "Template list");
  ASSERT_TRUE(window.TransferDataToWindow());
  EXPECT_EQ(window.entries->GetCount(), 2u);
  window.entries->SetSelection(1);
  ASSERT_TRUE(window.TransferDataFromWindow());
  EXPECT_EQ(list.chosenIndex, 1);
  EXPECT_EQ(list.chosenText, "Theorbo in A.bttx");

  CInstrumentList instruments;
  TemplateListWindow instrumentWindow(nullptr, instruments);
  EXPECT_EQ(instrumentWindow.GetTitle(), "Select an instrument to import into");
  ASSERT_TRUE(instrumentWindow.TransferDataToWindow());
  ASSERT_TRUE(instrumentWindow.TransferDataFromWindow());
  EXPECT_EQ(instruments.chosenIndex, -1);  // nothing to choose: no choice
}

}  // namespace
}  // namespace vornel
