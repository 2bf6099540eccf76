// The new-document wizard's pages on screen are filled from the wizard and read back; the
// section page lists the document's instruments first and shows each box's slot.

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "document/CVornelTabDoc.h"
#include "document/DocumentEnvironment.h"
#include "layout/ui/wizard/DocumentWizardWindow.h"
#include "model/CSystemArray.h"
#include "model/InstrumentTemplateTable.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// Writes what the page shows to `name`.png for review.
void SavePng(wxWindow& window, const std::string& name) {
  for (int i = 0; i < 5; ++i) wxYield();
  const wxSize size = window.GetClientSize();
  wxBitmap bitmap(size);
  wxMemoryDC memory(bitmap);
  wxClientDC client(&window);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  bitmap.SaveFile(wxString::FromUTF8(name + ".png"), wxBITMAP_TYPE_PNG);
}

TEST(WizardWindow, PagesExchangeTheirFields) {
  testing::ScriptedPrompts prompts;
  const std::string savedBase = Environment().instrumentBasePath;
  Environment().instrumentBasePath.clear();
  CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.settings.pageSettings.landscape = 1;
  CSystemArray& section = *doc.GetActiveSection();
  section.definitions.clear();
  section.DeleteAllSystems();
  for (const size_t index : {0u, 6u}) {
    auto definition = std::make_unique<CInstrumentDlg>();
    definition->SetFromTemplate(InstrumentTemplateSet(kEarlyMusicSet)[index]);
    section.definitions.push_back(std::move(definition));
  }
  section.NewSystem(CSystemArray::kAppend);

  CDocumentWizard wizard(doc, true);
  DocumentWizardWindow window(nullptr, wizard);
  EXPECT_EQ(window.GetTitle(), "Add new section wizard");
  ASSERT_TRUE(window.documentPage->TransferDataToWindow());
  EXPECT_TRUE(window.documentPage->landscape->GetValue());
  ASSERT_TRUE(window.sectionPage->TransferDataToWindow());
  const auto& boxes = window.sectionPage->instruments;
  EXPECT_EQ(boxes[0]->GetCount(), 2 + kTemplateSetSize);
  EXPECT_EQ(boxes[0]->GetStringSelection(), "Renaissance lute in G (vieil ton)");
  EXPECT_EQ(boxes[1]->GetStringSelection(), "Baroque guitar");
  EXPECT_EQ(boxes[2]->GetSelection(), wxNOT_FOUND);
  EXPECT_EQ(window.sectionPage->tempo->GetValue(), 100);

  window.sectionPage->name->SetValue("Passacaille");
  window.sectionPage->stavesPerPage->SetValue(6);
  window.sectionPage->sharp->SetValue(true);
  window.documentPage->printAllSections->SetValue(true);
  ASSERT_TRUE(window.sectionPage->TransferDataFromWindow());
  ASSERT_TRUE(window.documentPage->TransferDataFromWindow());
  EXPECT_EQ(wizard.sectionPage.fields.name, "Passacaille");
  EXPECT_EQ(wizard.sectionPage.fields.stavesPerPage, 6);
  EXPECT_EQ(wizard.sectionPage.fields.flatsOrSharps, 1);
  EXPECT_EQ(wizard.documentPage.printAllSections, 1);

  window.Show();
  window.ShowPage(window.sectionPage);
  SavePng(*window.sectionPage, "section_wizard_page");
  window.Hide();
  Environment().instrumentBasePath = savedBase;
}

}  // namespace
}  // namespace vornel
