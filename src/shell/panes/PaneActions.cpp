#include "shell/panes/PaneActions.h"

#include "platform/UserPrompts.h"

namespace vornel::panes {

namespace {

// Commands the lists pass on to the main window: list command → command sent.
struct Forward {
  int command;
  int sent;
};
constexpr Forward kFacsimileForwards[] = {{33835, 33023}, {33836, 34120}, {33837, 33024}, {33838, 33838}};
constexpr Forward kInstrumentForwards[] = {{34107, 34159}, {34108, 33010}};
constexpr int kSectionCommands[] = {33297, 33300, 33299, 32991, 33302};

std::string WithName(std::string_view pattern, std::string_view name) {
  const size_t at = pattern.find("%s");
  if (at == std::string_view::npos) return std::string(pattern);
  std::string text(pattern.substr(0, at));
  text += name;
  text += pattern.substr(at + 2);
  return text;
}

template <size_t N>
const Forward* FindForward(const Forward (&table)[N], int command) {
  for (const Forward& f : table) {
    if (f.command == command) return &f;
  }
  return nullptr;
}

void DeleteTemplate(PaneServices& services, const ListSelection& selection, ListCommandResult& result) {
  if (!selection.Selected()) return;
  if (Prompts().Ask(WithName(kDeleteTemplateQuestion, selection.text), Buttons::kYesNo) != Answer::kYes) return;
  if (services.DeleteTemplate(selection.text)) {
    Prompts().ShowMessage(kTemplateDeletedMessage, MessageKind::kInformation);
    result.removeSelection = true;
  } else {
    // The file is still there: so is its entry.
    Prompts().ShowMessage(kTemplateNotDeletedMessage, MessageKind::kError);
  }
}

ListCommandResult RunTemplateCommand(PaneServices& services, int command, const ListSelection& selection) {
  ListCommandResult result{true, false, false};
  switch (command) {
    case 34111:
      OpenEntry(services, ListId::kTemplates, selection);
      break;
    case 34112:
      // Applying and saving templates work on the active document.
      if (services.ActiveTabView() != nullptr && selection.Selected()) services.ApplyTemplate(selection.text);
      break;
    case 34113:
      if (services.ActiveTabView() != nullptr) {
        services.SendCommand(33282);
        result.refill = true;
      }
      break;
    case 34114:
      services.ChooseTemplatesFolder();
      result.refill = true;
      break;
    case 34115:
      DeleteTemplate(services, selection, result);
      break;
    default:
      result.handled = false;
  }
  return result;
}

ListCommandResult RunInstrumentCommand(PaneServices& services, int command, const ListSelection& selection) {
  ListCommandResult result{true, true, false};
  if (const Forward* forward = FindForward(kInstrumentForwards, command)) {
    services.SendCommand(forward->sent);
    return result;
  }
  switch (command) {
    case 34104:
      if (selection.Selected()) services.AddLibraryInstrumentToSection(selection.index);
      break;
    case 34105:
      OpenEntry(services, ListId::kInstruments, selection);
      break;
    case 34106:
      if (selection.Selected()) services.ActiveTabView()->ReplaceInstrumentFromLibrary(selection.index);
      break;
    case 34109:
      services.SelectInstrumentBase();
      break;
    case 34110:
      if (selection.Selected() && Prompts().Ask(kDeleteInstrumentQuestion, Buttons::kOkCancel) == Answer::kOk) {
        services.DeleteInstrument(selection.index);
      }
      break;
    default:
      return ListCommandResult{};
  }
  return result;
}

}  // namespace

void OpenEntry(PaneServices& services, ListId list, const ListSelection& selection) {
  if (list == ListId::kTemplates) {
    if (selection.Selected()) services.NewDocumentFromTemplate(selection.text);
    return;
  }
  TabView* view = services.ActiveTabView();
  if (view == nullptr) return;
  switch (list) {
    case ListId::kSections:
      if (selection.Selected()) view->OnSectionListDblClk(selection.index);
      break;
    case ListId::kFacsimiles:
      view->OnFacsimileListDblClk(selection.index);
      break;
    case ListId::kInstruments:
      if (selection.Selected()) view->EditLibraryInstrument(selection.index);
      break;
    case ListId::kTemplates:
      break;
  }
}

ListCommandResult RunListCommand(PaneServices& services, ListId list, int command, const ListSelection& selection) {
  if (list == ListId::kTemplates) return RunTemplateCommand(services, command, selection);
  // Every other list's command needs a tablature view.
  const bool hasView = services.ActiveTabView() != nullptr;
  switch (list) {
    case ListId::kSections:
      for (int id : kSectionCommands) {
        if (id == command) {
          if (hasView) services.SendCommand(command);
          return ListCommandResult{true, false, false};
        }
      }
      return ListCommandResult{};
    case ListId::kFacsimiles: {
      const Forward* forward = FindForward(kFacsimileForwards, command);
      if (forward == nullptr && command != 33833 && command != 33834) return ListCommandResult{};
      if (!hasView) return ListCommandResult{true, false, false};
      if (forward != nullptr) {
        services.SendCommand(forward->sent);
      } else if (command == 33833) {
        OpenEntry(services, list, selection);
      } else if (selection.Selected()) {
        services.RemoveFacsimile(selection.index);
      }
      return ListCommandResult{true, false, false};
    }
    case ListId::kInstruments:
      if (!hasView) {
        const ListCommandResult known = command >= 34104 && command <= 34110 ? ListCommandResult{true, false, false}
                                                                             : ListCommandResult{};
        return known;
      }
      return RunInstrumentCommand(services, command, selection);
    case ListId::kTemplates:
      break;
  }
  return ListCommandResult{};
}

bool RunExplorerCommand(PaneServices& services, int command) {
  switch (command) {
    case 34100:
      services.SendCommand(57601);
      return true;
    case 34101:
      services.SendCommand(34101);
      return true;
    case 34102:
      services.GoToXmlFolder();
      return true;
    case 34103:
      services.SendCommand(33070);
      return true;
    default:
      return false;
  }
}

}  // namespace vornel::panes
