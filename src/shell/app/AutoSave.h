#pragma once
// Recovery copies of modified documents, written at the autosave interval into a folder of
// this run under the XDG state folder. A clean close removes them; copies left by a run that
// ended otherwise (its process is gone) are offered at the next start.

#include <cstddef>
#include <string>
#include <vector>

namespace vornel {

class CVornelTabDoc;

struct RecoveryCopy {
  std::string copyPath;      // the saved XML document
  std::string originalPath;  // where the document belongs; empty for a document never saved
  std::string title;
};

class AutoSaveStore {
 public:
  static constexpr const char* kRecoverQuestion =
      "Vornel did not close properly last time.\nOpen the copies of the documents that were saved automatically?";

  // `baseFolder`: the folder of every run's copies (AutoSaveFolder() in the editor).
  explicit AutoSaveStore(std::string baseFolder);

  // Writes (or replaces) the copy of document `key`; false when it could not be written.
  bool SaveCopy(CVornelTabDoc& doc, int key);
  void RemoveCopy(int key);
  // Removes this run's copies and folder (a clean close).
  void RemoveAll();

  // The copies of runs whose process has ended.
  std::vector<RecoveryCopy> Leftovers() const;
  // Removes the folders of those runs.
  void DiscardLeftovers() const;

  const std::string& RunFolder() const { return runFolder_; }

 private:
  std::string baseFolder_;
  std::string runFolder_;
};

// The start of every run of the editor and the tool: notes this run's temporary files in the
// journal under the XDG state folder, and removes what runs whose process is gone left behind
// (temporary files beside documents saved, private folders in the temporary folder). Returns
// how many were removed.
size_t StartTemporaryJournal();

}  // namespace vornel
