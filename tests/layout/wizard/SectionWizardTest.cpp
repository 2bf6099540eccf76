#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentEnvironment.h"
#include "document/SectionWizard.h"
#include "layout/wizard/CDocumentWizard.h"
#include "layout/wizard/CWizardSection.h"
#include "layout/wizard/WizardDialogs.h"
#include "model/score/CSystemArray.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "model/score/SectionEditor.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::ScriptedPrompts;

std::unique_ptr<CInstrumentDlg> Template(size_t index) {
  auto definition = std::make_unique<CInstrumentDlg>();
  definition->SetFromTemplate(InstrumentTemplateSet(kEarlyMusicSet)[index]);
  return definition;
}

// A document of one section with a lute and a baroque guitar.
std::unique_ptr<CVornelTabDoc> TwoInstrumentDocument() {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  CSystemArray& section = *doc->GetActiveSection();
  section.DeleteAllSystems();
  section.definitions.clear();
  section.definitions.push_back(Template(0));
  section.definitions.push_back(Template(6));
  for (int i = 0; i < 8; ++i) section.NewSystem(CSystemArray::kAppend);
  return doc;
}

std::vector<std::string> DefinitionNames(const CSystemArray& section) {
  std::vector<std::string> names;
  for (const auto& definition : section.definitions.items()) names.push_back(definition->nameText.text);
  return names;
}

class ScriptedEditor : public SectionEditor {
 public:
  std::function<bool(CInstrumentDlg&)> edit;
  bool EditInstrument(CInstrumentDlg& definition) override { return edit && edit(definition); }
};

// The base the page lists behind the section's instruments: none configured, the built-in set.
class SectionWizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = Environment().instrumentBasePath;
    Environment().instrumentBasePath.clear();
  }
  void TearDown() override { Environment().instrumentBasePath = saved_; }
  ScriptedPrompts prompts;
  ScriptedEditor editor;
  ScopedSectionEditor scopedEditor{editor};

 private:
  std::string saved_;
};

TEST_F(SectionWizardTest, FinishingWithTheDefaultsBuildsTheDocumentsInstruments) {
  auto doc = TwoInstrumentDocument();
  CWizardSection page;
  page.Init(*doc);
  const std::vector<std::string> names = page.RefreshInstrumentNames();
  ASSERT_EQ(names.size(), 2 + kTemplateSetSize);
  EXPECT_EQ(names[1], "Baroque guitar");
  EXPECT_EQ(page.fields.selections, (std::array<int32_t, 8>{0, 1, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(page.Validate(), "");

  const std::unique_ptr<CSystemArray> built = page.BuildSection();
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(DefinitionNames(*built), (std::vector<std::string>{"Renaissance lute in G (vieil ton)", "Baroque guitar"}));
  EXPECT_EQ(built->numerator, 4);
  EXPECT_EQ(built->denominator, 4);
  EXPECT_EQ(built->tempo & 0xFFF, 100);
  EXPECT_EQ(built->systems.size(), 8u);
  EXPECT_EQ(built->systems.at(0)->lines.size(), 2u);
  for (const auto& definition : built->definitions.items()) {
    EXPECT_EQ(definition->spacingBelowPage, 3);
    for (const auto& stave : definition->staves.items()) EXPECT_EQ(stave->spaceBelow, 3u);
  }
  EXPECT_EQ(doc->settings.pageSettings.systemsPerPage, 8u);
  // The document's own definitions were copied, never taken.
  EXPECT_EQ(doc->GetActiveSection()->definitions.size(), 2u);
}

TEST_F(SectionWizardTest, SlotsChooseClearAndEditTheInstruments) {
  auto doc = TwoInstrumentDocument();
  CWizardSection page;
  page.Init(*doc);
  page.ClearSlot(1);
  page.ClearSlot(0);  // instrument 1 has no "Clear"
  page.SelectInstrument(2, 2 + 5);  // the theorbo of the base
  page.SelectInstrument(3, 99);     // outside the list: empty
  EXPECT_EQ(page.Slot(3), nullptr);

  // Edit on an empty slot makes a definition for it; a cancelled edit changes nothing.
  editor.edit = [](CInstrumentDlg& d) {
    d.nameText.text = "My lute";
    return true;
  };
  EXPECT_EQ(page.EditInstrument(2, 4), 1);
  editor.edit = [](CInstrumentDlg& d) {
    d.nameText.text = "Never";
    return false;
  };
  EXPECT_EQ(page.EditInstrument(0, 0), 0);
  EXPECT_EQ(page.EditInstrument(-1, 5), 0);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "Instrument index invalid: -1");

  const auto built = page.BuildSection();
  EXPECT_EQ(DefinitionNames(*built),
            (std::vector<std::string>{"Renaissance lute in G (vieil ton)", "Theorbo in A", "My lute"}));
}

TEST_F(SectionWizardTest, FieldsOutsideTheirRangesAreRefused) {
  CWizardSection page;
  struct Case {
    std::function<void(CWizardSection::Fields&)> set;
    const char* named;
  };
  const std::vector<Case> cases = {
      {[](auto& f) { f.stavesPerPage = 31; }, "\"per page\" must be between 1 and 30."},
      {[](auto& f) { f.tempo = 9; }, "\"Tempo\" must be between 10 and 200."},
      {[](auto& f) { f.alterations = 8; }, "\"Clef alterations\" must be between 0 and 7."},
      {[](auto& f) { f.leftOffset = -8; }, "\"L.Offset\" must be between -7 and 10."},
  };
  for (const Case& c : cases) {
    page.fields = CWizardSection::Fields{};
    c.set(page.fields);
    EXPECT_EQ(page.Validate(), c.named);
  }
}

TEST_F(SectionWizardTest, ANamelessDefinitionIsListedAndKeptAsUnnamed) {
  auto doc = TwoInstrumentDocument();
  doc->GetActiveSection()->definitions.at(1)->nameText.text.clear();
  doc->GetActiveSection()->definitions.at(1)->tabInstrument.name.clear();
  CWizardSection page;
  page.Init(*doc);
  EXPECT_EQ(page.RefreshInstrumentNames()[1], "Unnamed instrument");
  EXPECT_EQ(DefinitionNames(*page.BuildSection())[1], "Unnamed instrument");
}

// Shows nothing: finishes or cancels, after letting the test change the pages.
class ScriptedRunner : public DocumentWizardRunner {
 public:
  bool finish = true;
  std::function<void(CDocumentWizard&)> change;
  std::string caption;
  bool Run(CDocumentWizard& wizard) override {
    caption = wizard.Caption();
    if (change) change(wizard);
    return finish;
  }
};

TEST_F(SectionWizardTest, AddSectionStoresOnFinishOnlyAndCancelAddsNothing) {
  auto doc = TwoInstrumentDocument();
  ScriptedRunner runner;
  RunnerSectionWizard wizard(runner);
  ScopedSectionWizard scoped(wizard);
  runner.change = [](CDocumentWizard& w) {
    w.documentPage.printAllSections = 1;
    w.sectionPage.fields.name = "Courante";
    w.sectionPage.ClearSlot(1);
  };

  runner.finish = false;
  EXPECT_EQ(AddSectionWithWizard(*doc), nullptr);
  EXPECT_EQ(runner.caption, CDocumentWizard::kAddSectionCaption);
  EXPECT_EQ(doc->sections.size(), 1u);
  EXPECT_EQ(doc->settings.pageSettings.printAllSections, 0);

  runner.finish = true;
  CSystemArray* added = AddSectionWithWizard(*doc);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(doc->sections.size(), 2u);
  EXPECT_EQ(doc->GetActiveSection(), added);
  EXPECT_EQ(added->Title().text, "Courante");
  EXPECT_EQ(added->definitions.size(), 1u);
  EXPECT_EQ(doc->settings.pageSettings.printAllSections, 1);
}

TEST_F(SectionWizardTest, CreateModeKeepsTheFirstPageEvenWhenCancelled) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  ScriptedRunner runner;
  runner.finish = false;
  runner.change = [](CDocumentWizard& w) { w.documentPage.title = "Lessons"; };
  EXPECT_FALSE(RunNewDocumentWizard(doc, runner));
  EXPECT_EQ(runner.caption, CDocumentWizard::kNewDocumentCaption);
  EXPECT_EQ(doc.settings.Text(CDocumentSettings::kTitle).text, "Lessons");

  runner.finish = true;
  runner.change = [](CDocumentWizard& w) { w.sectionPage.SelectInstrument(0, 1 + 6); };  // baroque guitar
  EXPECT_TRUE(RunNewDocumentWizard(doc, runner));
  ASSERT_EQ(doc.sections.size(), 1u);
  EXPECT_EQ(DefinitionNames(*doc.GetActiveSection()), (std::vector<std::string>{"Baroque guitar"}));
}

// The further dialogs of the wizard's buttons: each answers as the test says and records what
// it was opened on.
class ScriptedWizardDialogs : public WizardDialogs {
 public:
  bool accept = true;
  std::optional<std::string> templatePath;
  std::vector<std::string> log;
  std::function<void(CDocumentSettings&)> editInformation;

  bool EditTextFont(CTrackText& text) override {
    log.push_back("font " + text.text);
    return accept;
  }
  bool EditDocumentFonts(CPageDlg&) override {
    log.push_back("document fonts");
    return accept;
  }
  bool EditPageSettings(CPageDlg& page) override {
    log.push_back("page settings");
    if (accept) page.systemsPerPage = 12;
    return accept;
  }
  bool EditDocumentInformation(CDocumentSettings& settings) override {
    log.push_back("information " + settings.Text(CDocumentSettings::kTitle).text);
    if (accept && editInformation) editInformation(settings);
    return accept;
  }
  std::optional<std::string> ChooseDocumentTemplate() override { return templatePath; }

 private:
  ScopedWizardDialogs scope_{*this};
};

TEST_F(SectionWizardTest, ButtonsOpenTheDocumentsDialogsAndTakeBackTheirValues) {
  auto doc = TwoInstrumentDocument();
  doc->settings.Text(CDocumentSettings::kTitle).text = "Book";
  doc->settings.Text(CDocumentSettings::kAuthor).text = "Lutenist";
  ScriptedWizardDialogs dialogs;
  CDocumentWizard wizard(*doc, false);
  EXPECT_TRUE(wizard.EditHeadingFont(false));
  EXPECT_TRUE(wizard.EditHeadingFont(true));
  EXPECT_TRUE(wizard.EditSectionFonts());

  // "More document properties": the page's fields reach the dialog, OK brings its changes back;
  // a cancelled dialog leaves the fields alone.
  wizard.documentPage.title = "Second book";
  dialogs.editInformation = [](CDocumentSettings& settings) { settings.Text(CDocumentSettings::kAuthor).text = "Anon."; };
  EXPECT_TRUE(wizard.EditMoreProperties());
  EXPECT_EQ(wizard.documentPage.author, "Anon.");
  dialogs.accept = false;
  wizard.documentPage.author = "Kept";
  EXPECT_FALSE(wizard.EditMoreProperties());
  EXPECT_EQ(wizard.documentPage.author, "Kept");

  // "Page settings": OK gives the page and the working section the settings' staves per page.
  EXPECT_EQ(wizard.sectionPage.EditPageSettings(), 0);
  EXPECT_EQ(wizard.sectionPage.fields.stavesPerPage, 8);
  dialogs.accept = true;
  EXPECT_EQ(wizard.sectionPage.EditPageSettings(), 1);
  EXPECT_EQ(wizard.sectionPage.fields.stavesPerPage, 12);
  EXPECT_EQ(wizard.sectionPage.WorkingSection()->stavesPerPage, 12);
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"font Book", "font Lutenist", "document fonts",
                                                   "information Second book", "information Second book",
                                                   "page settings", "page settings"}));
}

TEST_F(SectionWizardTest, LoadDocumentTemplateStartsTheDocumentAgainFromIt) {
  testing::TempDir dir;
  const std::string path = dir.File("Theorbo.bttx");
  {
    CVornelTabDoc model;
    model.OnNewDocument();
    CSystemArray& section = *model.GetActiveSection();
    section.DeleteAllSystems();
    section.definitions.clear();
    section.definitions.push_back(Template(3));
    section.NewSystem(CSystemArray::kAppend);
    model.settings.Text(CDocumentSettings::kSource).text = "Manuscript";
    ASSERT_TRUE(model.WriteXmlTemplate(path));
  }
  auto doc = TwoInstrumentDocument();
  ScriptedWizardDialogs dialogs;
  CDocumentWizard wizard(*doc, false);
  ASSERT_TRUE(wizard.OffersTemplate());

  // Cancelled, or a file that does not open: nothing changes.
  EXPECT_FALSE(wizard.LoadDocumentTemplate());
  dialogs.templatePath = dir.File("Missing.bttx");
  EXPECT_FALSE(wizard.LoadDocumentTemplate());
  EXPECT_EQ(DefinitionNames(*doc->GetActiveSection()).size(), 2u);

  const std::string theorbo = Template(3)->nameText.text;
  dialogs.templatePath = path;
  ASSERT_TRUE(wizard.LoadDocumentTemplate());
  EXPECT_EQ(DefinitionNames(*doc->GetActiveSection()), std::vector<std::string>{theorbo});
  EXPECT_TRUE(doc->GetPathName().empty());
  EXPECT_EQ(wizard.documentPage.title, "Document title");
  EXPECT_EQ(wizard.documentPage.author, "Document author");
  EXPECT_EQ(doc->settings.Text(CDocumentSettings::kSource).text, "");
  EXPECT_EQ(wizard.sectionPage.RefreshInstrumentNames().front(), theorbo);
  EXPECT_EQ(wizard.sectionPage.fields.selections[1], -1);

  // Adding a section offers no template.
  CDocumentWizard adding(*doc, true);
  EXPECT_FALSE(adding.OffersTemplate());
  EXPECT_FALSE(adding.LoadDocumentTemplate());
}

}  // namespace
}  // namespace vornel
