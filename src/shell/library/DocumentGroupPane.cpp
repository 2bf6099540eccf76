#include "shell/library/DocumentGroupPane.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "document/CVornelTabDoc.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "shell/files/FileHelpers.h"
#include "view/commands/CommandTable.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

// The name shown for a member: the stored path after its last separator, without ".btb".
std::string DisplayName(const std::string& storedPath) {
  const size_t slash = storedPath.find_last_of("\\/");
  std::string name = slash == std::string::npos ? storedPath : storedPath.substr(slash + 1);
  if (const size_t at = name.find(".btb"); at != std::string::npos) name.erase(at, 4);
  return name;
}

std::string SectionText(std::string title) {
  std::replace(title.begin(), title.end(), '\n', ' ');
  std::replace(title.begin(), title.end(), '\r', ' ');
  return title;
}

bool Confirm(const std::string& question) {
  return Prompts().Ask(question, Buttons::kOkCancel, MessageKind::kQuestion, DocumentGroupPane::kConfirmCaption) ==
         Answer::kOk;
}

}  // namespace

DocumentGroupPane::DocumentGroupPane(std::string groupFolder, std::string documentRoot, std::string rootUrl)
    : groupFolder_(std::move(groupFolder)), rootUrl_(std::move(rootUrl)), group_(std::move(documentRoot)) {}

void DocumentGroupPane::RefreshGroups() {
  groups_.clear();
  names_.clear();
  if (const auto names = ListDocumentGroups(groupFolder_)) {
    for (const std::string& name : *names) names_.push_back(name + std::string(kGroupExtension));
  }
  for (size_t i = 0; i < names_.size(); ++i) {
    const int index = static_cast<int>(i);
    if (OpenGroup(index)) {
      groups_.push_back(TreeOfGroup(index));
    } else {
      groups_.push_back({names_[i], index, {}});
    }
  }
}

bool DocumentGroupPane::OpenGroup(int index) {
  if (index < 0 || static_cast<size_t>(index) >= names_.size()) return false;
  return group_.OnOpenDocument(groupFolder_, names_[static_cast<size_t>(index)]);
}

GroupTreeGroup DocumentGroupPane::TreeOfGroup(int index) const {
  GroupTreeGroup tree{group_.title, index, {}};
  for (size_t d = 0; d < group_.entries.size(); ++d) {
    const CDataBaseDocForm& entry = *group_.entries.at(d);
    GroupTreeDocument document{DisplayName(entry.storedPath), static_cast<int>(d), {}};
    for (size_t s = 0; s < entry.sections.size(); ++s) {
      document.sections.push_back({SectionText(entry.sections.at(s)->title), static_cast<int>(s)});
    }
    tree.documents.push_back(std::move(document));
  }
  return tree;
}

std::vector<GroupTreeGroup>::iterator DocumentGroupPane::FindTree(int index) {
  return std::find_if(groups_.begin(), groups_.end(), [index](const GroupTreeGroup& g) { return g.index == index; });
}

bool DocumentGroupPane::OpenAtSection(const GroupSelection& selection, const DocumentOpener& open) {
  if (selection.document < 0 || !OpenGroup(selection.group)) return false;
  return group_.OpenDocument(selection.document, std::max(selection.section, 0),
                             [&open](const std::string& path) -> CBriotabDoc* { return open(path); });
}

bool DocumentGroupPane::SearchAndBuildGroup() {
  // The finder may have built groups whatever way it was closed: the list is read again.
  const bool ok = runFileFinder && runFileFinder();
  RefreshGroups();
  return ok;
}

bool DocumentGroupPane::OpenRootFolder(const GroupSelection& selection) {
  if (!OpenGroup(selection.group)) return false;
  return Programs().OpenWithDefault(group_.ResolveRootPath());
}

bool DocumentGroupPane::AddDocumentToGroup(const GroupSelection& selection, CVornelTabDoc& doc) {
  if (!OpenGroup(selection.group)) return false;
  const std::string original = doc.GetPathName();
  const std::string fileName = original.empty() ? doc.GetTitle() + ".btz" : fs::path(original).filename().string();
  if (!Confirm("This operation will add the file " + (original.empty() ? fileName : original) +
               " to the document group " + group_.title)) {
    return false;
  }
  // Each added document gets a folder of its own, named by its file without ".btb".
  std::string folderName = fileName;
  if (const size_t at = folderName.find(".btb"); at != std::string::npos) folderName.erase(at, 4);
  const fs::path folder = fs::path(group_.ResolveRootPath()) / folderName;
  std::error_code error;
  if (!fs::is_directory(folder, error) && !fs::create_directories(folder, error)) {
    Prompts().ShowMessage("Unable to create directory", MessageKind::kWarning);
    return false;
  }
  const std::string target = (folder / fileName).string();
  if (fs::exists(target, error) &&
      Prompts().Ask("A file with this name already exists under the group's directory.\nDo you want to overwrite "
                    "it?\n" + original,
                    Buttons::kYesNo) != Answer::kYes) {
    Prompts().ShowMessage("Operation cancelled");
    return false;
  }
  doc.SetPathName(target);
  if (!doc.OnSaveDocument(target)) {
    // The document stays what it was: its own file, not the copy that failed.
    doc.SetPathName(original);
    Prompts().ShowMessage(kSaveCopyFailed, MessageKind::kWarning);
    return false;
  }
  if (group_.AddDocument(target, Progress()) == nullptr) return false;
  if (auto tree = FindTree(selection.group); tree != groups_.end()) *tree = TreeOfGroup(selection.group);
  if (!original.empty() && original != target && Confirm(std::string(kRecycleOriginalQuestion))) {
    DeleteToRecycleBin(original);
  }
  return true;
}

bool DocumentGroupPane::RemoveDocumentFromGroup(const GroupSelection& selection) {
  const auto tree = FindTree(selection.group);
  if (tree == groups_.end() || selection.document < 0 ||
      static_cast<size_t>(selection.document) >= tree->documents.size()) {
    Prompts().ShowMessage(kNoDocumentMessage, MessageKind::kWarning);
    return false;
  }
  if (!Confirm("Are you sure you want to remove " + tree->documents[static_cast<size_t>(selection.document)].text +
               " from the document group: " + tree->title)) {
    return false;
  }
  if (!OpenGroup(selection.group) || !group_.RemoveDocument(selection.document)) return false;
  RefreshGroups();
  return true;
}

bool DocumentGroupPane::ExportGroupToHtml(const GroupSelection& selection) {
  if (selection.group < 0) {
    Prompts().ShowMessage(kNoGroupMessage, MessageKind::kWarning);
    return false;
  }
  return OpenGroup(selection.group) && group_.ExportHtml(rootUrl_, Progress());
}

bool DocumentGroupPane::DeleteGroup(const GroupSelection& selection) {
  if (selection.group < 0 || static_cast<size_t>(selection.group) >= names_.size()) return false;
  const std::string& name = names_[static_cast<size_t>(selection.group)];
  if (!Confirm("Are you sure you want to delete the document group: " + name)) return false;
  std::error_code error;
  if (!fs::remove(fs::path(groupFolder_) / name, error)) {
    Prompts().ShowMessage("Could not delete the document group: " + name, MessageKind::kError);
    return false;
  }
  // The names list keeps its places until the next refresh.
  if (auto tree = FindTree(selection.group); tree != groups_.end()) groups_.erase(tree);
  return true;
}

bool DocumentGroupPane::SetGroupTitle(const GroupSelection& selection) {
  if (!OpenGroup(selection.group)) return false;
  std::string title = group_.title;
  if (!CVornelDatabase::AskGroupTitle(title)) return false;
  group_.title = title;
  if (auto tree = FindTree(selection.group); tree != groups_.end()) tree->title = title;
  return group_.Save();
}

bool DocumentGroupPane::ReindexGroup(const GroupSelection& selection) {
  if (!OpenGroup(selection.group)) return false;
  const bool reindexed = group_.Reindex(Progress());
  if (auto tree = FindTree(selection.group); tree != groups_.end()) groups_.erase(tree);
  groups_.push_back(TreeOfGroup(selection.group));
  return reindexed;
}

void AddDocumentGroupCommands(view::CommandTable& table, const std::function<void(int id)>& run) {
  for (const int id : {DocumentGroupPane::kSearchAndBuild, DocumentGroupPane::kReindex, DocumentGroupPane::kSetTitle,
                       DocumentGroupPane::kRemoveDocument, DocumentGroupPane::kAddCurrentDocument,
                       DocumentGroupPane::kOpenRootFolder, DocumentGroupPane::kExportHtml, DocumentGroupPane::kDeleteGroup,
                       DocumentGroupPane::kExportHtmlPage}) {
    table.Add(id, [run](const view::CommandEvent& event) {
      if (run) run(event.id);
    });
  }
}

int DocumentGroupPane::TreeCommand(int id) {
  switch (id) {
    case kReindex:
      return Prompts().Ask(kReindexQuestion, Buttons::kOkCancel) == Answer::kOk ? id : 0;
    case kDeleteGroup:
      return Prompts().Ask(kDeleteQuestion, Buttons::kOkCancel) == Answer::kOk ? id : 0;
    case kExportHtml:
      return kExportHtmlPage;
    default:
      return id;
  }
}

}  // namespace vornel
