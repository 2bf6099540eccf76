#include "import/musicxml/MusicXMLImport.h"

#include <exception>
#include <filesystem>

#include "document/CBriotabDoc.h"
#include "import/ImportedSection.h"
#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/MusicXMLTagWalk.h"
#include "midi/GeneralMidiNames.h"
#include "model/score/CSystemArray.h"
#include "platform/BuildBudget.h"
#include "platform/UserPrompts.h"
#include "platform/text/TextConversion.h"

namespace vornel {

void AddPartDefinitions(CSystemArray& section, const std::vector<PartRecord>& parts) {
  for (const PartRecord& part : parts) {
    auto definition = std::make_unique<CInstrumentDlg>();
    // MusicXML counts the programs from 1.
    const int program = part.program >= 1 && part.program <= 128 ? part.program - 1 : 0;
    definition->DeleteStaves();
    if (CClef* stave = definition->AddStave()) {
      stave->clefId = CClef::kGClef;
      stave->type = CClef::kStaff;
      stave->enabledVoices = CClef::kUpperVoice;
      stave->spaceBelow = 3;
    }
    definition->voiceSelector = 0;
    definition->clefPage = CClef::kGClef;
    definition->notationModePage = CClef::kStaff;
    definition->voicesShownPage = CClef::kUpperVoice;
    definition->spacingBelowPage = 3;
    // A part goes by the name its score shows (a part without one by its instrument's), shortened
    // after the first system as its abbreviation says; a name the score does not print is kept
    // unprinted.
    std::string shown = part.shownName;
    if (shown.empty() && part.partName) shown = part.partName->getValue();
    definition->nameText.text = Decode8BitText(!shown.empty() ? shown : part.name);
    definition->shortName = Decode8BitText(!part.shownAbbreviation.empty() ? part.shownAbbreviation : part.abbreviation);
    if (part.partName && part.partName->getAttributeValue("print-object") == "no") definition->nameText.flags = 0;
    definition->midi.patch = static_cast<uint8_t>(program);
    definition->midi.name = std::string(GMProgramName(program));
    definition->ornaments.table.ResetGroup(1);
    definition->LinkStaves();
    section.definitions.push_back(std::move(definition));
  }
}

std::unique_ptr<CSystemArray> MakeImportSection(const std::vector<PartRecord>& parts) {
  auto section = std::make_unique<CSystemArray>();
  section->DeleteAllSystems();
  section->definitions.clear();
  AddPartDefinitions(*section, parts);
  return section;
}

bool MusicXMLImport::OnNewDocument() {
  const std::optional<std::string> path = Prompts().PromptOpenFile(kPromptTitle, kFilePattern);
  if (!path) return false;
  return ImportFile(*path);
}

bool MusicXMLImport::ImportFile(const std::string& path) {
  if (target == nullptr) return false;
  try {
    if (!driver_.read(path)) {
      // The system's words, then the file and what in it could not be read.
      Prompts().ShowMessage(std::string(kUnreadableMessage) + "\n" + path + ":\n" + driver_.failure(),
                            MessageKind::kWarning);
      return false;
    }
    const std::vector<PartRecord> parts = driver_.parts();
    if (parts.empty()) {
      Prompts().ShowMessage(kNoInstrumentsMessage, MessageKind::kWarning);
      return false;
    }
    // The section is built whole before the document sees it.
    std::unique_ptr<CSystemArray> section = MakeImportSection(parts);
    // The section is named after the movement, else the work, else the file.
    std::string title = !driver_.movementTitle().empty() ? driver_.movementTitle() : driver_.workTitle();
    if (title.empty()) title = std::filesystem::path(path).stem().string();
    section->Title().text = Decode8BitText(title);
    section->Author().text = Decode8BitText(driver_.workText());
    section->Comments().text = Decode8BitText(driver_.composer());
    if (const Svornelelement list = driver_.convert()) {
      MusicXMLTagWalk walk(*section);
      walk.Walk(*list);
    }
    FinishImportedSection(*section, kEventsPerSystem, ImportedVoices::kInDefinitions);
    ShowPartNames(*section);
    target->AppendSection(std::move(section));
    return true;
  } catch (const BuildBudgetExceeded&) {
    throw;  // the importer names the file and the limit
  } catch (const std::exception& e) {
    ImportWarning(std::string("warning: the import stopped: ") + e.what());
  }
  Prompts().ShowMessage(kUnreadableMessage, MessageKind::kWarning);
  return false;
}

}  // namespace vornel
