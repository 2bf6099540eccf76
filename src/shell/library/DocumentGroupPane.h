#pragma once
// The document group pane without its window: the three-level tree of the groups of the
// document-group folder (groups, their member documents, each document's sections) and the
// pane's operations on the selected group. The pane holds one group object that it loads
// from the group's file before every operation, so it never acts on stale contents. The
// window layer shows `groups` as a tree and passes its selection in.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BatchProgress.h"
#include "shell/library/CVornelDatabase.h"

namespace vornel {

class CVornelTabDoc;

namespace view {
class CommandTable;
}

struct GroupTreeSection {
  std::string text;  // the section title, line ends shown as spaces
  int index = 0;
};

struct GroupTreeDocument {
  std::string text;  // the display name: the stored file name without ".btb"
  int index = 0;     // the entry's index in its group
  std::vector<GroupTreeSection> sections;
};

struct GroupTreeGroup {
  std::string title;
  int index = 0;  // the group's place in the names list
  std::vector<GroupTreeDocument> documents;
};

// What is selected in the tree, by level: -1 where the selection says nothing.
struct GroupSelection {
  int group = -1;
  int document = -1;
  int section = -1;
};

class DocumentGroupPane {
 public:
  static constexpr std::string_view kGroupExtension = ".vndb";
  static constexpr std::string_view kConfirmCaption = "Please confirm";
  static constexpr std::string_view kNoDocumentMessage = "You have not selected a document to remove from this group";
  static constexpr std::string_view kNoGroupMessage = "Please select a document group first";
  static constexpr std::string_view kReindexQuestion = "Reindex current document group?";
  static constexpr std::string_view kDeleteQuestion = "Delete this document group?";
  static constexpr std::string_view kRecycleOriginalQuestion =
      "A copy of the file was created under the group's directory.\nDo you want to send the original to the recycle "
      "bin?";
  static constexpr std::string_view kSaveCopyFailed = "Unable to save a copy of the file to the database directory";

  // Pane commands.
  static constexpr int kSearchAndBuild = 33070;
  static constexpr int kReindex = 33071;
  static constexpr int kSetTitle = 33072;
  static constexpr int kRemoveDocument = 33073;
  static constexpr int kAddCurrentDocument = 33074;
  static constexpr int kOpenRootFolder = 33078;
  static constexpr int kExportHtml = 33079;
  static constexpr int kExportHtmlPage = 33165;
  static constexpr int kDeleteGroup = 33080;

  // Opens a member document (or activates it when it is open); null when it did not open.
  using DocumentOpener = std::function<CVornelTabDoc*(const std::string& path)>;

  // `groupFolder` holds the ".vndb" files; `documentRoot` anchors the portable paths;
  // `rootUrl` is the web pages' document root.
  DocumentGroupPane(std::string groupFolder, std::string documentRoot, std::string rootUrl);

  const std::string& GroupFolder() const { return groupFolder_; }
  const std::string& RootUrl() const { return rootUrl_; }
  const std::vector<std::string>& Names() const { return names_; }
  // The tree, in the order shown.
  const std::vector<GroupTreeGroup>& Groups() const { return groups_; }
  const CVornelDatabase& Group() const { return group_; }
  // Reports long runs (reindex, add, export); silent until set.
  void SetProgress(BatchProgress* progress) { progress_ = progress; }
  // Runs the file finder that builds groups; true when it ended with OK.
  std::function<bool()> runFileFinder;

  // Lists the group files again and builds the tree, each group opened in turn. A group
  // whose file does not load shows its file name and no documents.
  void RefreshGroups();
  // Loads group `index` into the pane's group object; false (after the loader's message)
  // when its file does not load or the index is outside the names list.
  bool OpenGroup(int index);

  // Double-click on a leaf: opens the document at the section; a document without sections
  // opens at its first.
  bool OpenAtSection(const GroupSelection& selection, const DocumentOpener& open);
  bool SearchAndBuildGroup();
  bool OpenRootFolder(const GroupSelection& selection);
  // Saves a copy of `doc` into a folder of its own under the group's root and adds it. A copy
  // that cannot be saved leaves the document on its old path.
  bool AddDocumentToGroup(const GroupSelection& selection, CVornelTabDoc& doc);
  bool RemoveDocumentFromGroup(const GroupSelection& selection);
  bool ExportGroupToHtml(const GroupSelection& selection);
  bool DeleteGroup(const GroupSelection& selection);
  bool SetGroupTitle(const GroupSelection& selection);
  // Reindexes the group; its tree moves to the end.
  bool ReindexGroup(const GroupSelection& selection);

  // A command of the tree's context menu: the question some of them ask first; the id to
  // send to the frame (33079 goes as 33165), or 0 when the user declined.
  static int TreeCommand(int id);

 private:
  GroupTreeGroup TreeOfGroup(int index) const;
  BatchProgress& Progress() { return progress_ != nullptr ? *progress_ : silent_; }
  std::vector<GroupTreeGroup>::iterator FindTree(int index);

  std::string groupFolder_;
  std::string rootUrl_;
  std::vector<std::string> names_;
  std::vector<GroupTreeGroup> groups_;
  CVornelDatabase group_;
  BatchProgress* progress_ = nullptr;
  SilentProgress silent_;
};

// The group commands the main frame carries for the pane (33070-33074, 33078-33080, 33165):
// each calls `run` with its id.
void AddDocumentGroupCommands(view::CommandTable& table, const std::function<void(int id)>& run);

}  // namespace vornel
