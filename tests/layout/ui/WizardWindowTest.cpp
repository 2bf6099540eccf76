// The new-document wizard's pages on screen are filled from the wizard and read back; the
// section page lists the document's instruments first and shows each box's slot.

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/button.h>
#include <wx/utils.h>

#include "document/CVornelTabDoc.h"
#include "document/DocumentEnvironment.h"
#include "layout/ui/wizard/DocumentWizardWindow.h"
#include "layout/wizard/WizardDialogs.h"
#include "model/score/CSystemArray.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/DialogCapture.h"

namespace vornel {
namespace {

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
  CaptureWindow(*window.sectionPage, "section_wizard_page");
  window.Hide();
  Environment().instrumentBasePath = savedBase;
}

// The dialogs behind the buttons: the page settings give twelve staves a page, the document
// information a new author, the image chooser a picture.
class AcceptingWizardDialogs : public WizardDialogs {
 public:
  bool EditPageSettings(CPageDlg& page) override {
    page.systemsPerPage = 12;
    return true;
  }
  bool EditDocumentInformation(CDocumentSettings& settings) override {
    settings.Text(CDocumentSettings::kAuthor).text = "Anon.";
    return true;
  }
  std::string ChooseImageFile() override { return "/pictures/frontispiece.png"; }
};

void Click(wxWindow& page, const wxString& label) {
  auto* button = dynamic_cast<wxButton*>(wxWindow::FindWindowByLabel(label, &page));
  ASSERT_NE(button, nullptr) << label;
  wxCommandEvent event(wxEVT_BUTTON, button->GetId());
  event.SetEventObject(button);
  button->ProcessWindowEvent(event);
}

TEST(WizardWindow, ButtonsShowWhatTheirDialogsChanged) {
  testing::ScriptedPrompts prompts;
  const std::string savedBase = Environment().instrumentBasePath;
  Environment().instrumentBasePath.clear();
  AcceptingWizardDialogs dialogs;
  ScopedWizardDialogs scoped(dialogs);
  CVornelTabDoc doc;
  doc.OnNewDocument();

  CDocumentWizard creating(doc, false);
  DocumentWizardWindow window(nullptr, creating);
  window.documentPage->TransferDataToWindow();
  window.sectionPage->TransferDataToWindow();
  EXPECT_TRUE(window.documentPage->loadTemplate->IsShown());
  window.documentPage->title->SetValue("Pieces");
  Click(*window.documentPage, "More document properties");
  EXPECT_EQ(window.documentPage->author->GetValue(), "Anon.");
  EXPECT_EQ(window.documentPage->title->GetValue(), "Pieces");
  Click(*window.documentPage, "...");
  EXPECT_EQ(window.documentPage->imagePath->GetValue(), "/pictures/frontispiece.png");
  EXPECT_EQ(window.documentPage->title->GetValue(), "Pieces");
  Click(*window.sectionPage, "Page settings");
  EXPECT_EQ(window.sectionPage->stavesPerPage->GetValue(), 12);

  CDocumentWizard adding(doc, true);
  DocumentWizardWindow addWindow(nullptr, adding);
  EXPECT_FALSE(addWindow.documentPage->loadTemplate->IsShown());
  EXPECT_EQ(window.Background().Texture(), DialogTexture::kSheet);
  Environment().instrumentBasePath = savedBase;
}

}  // namespace
}  // namespace vornel
