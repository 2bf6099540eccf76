#pragma once
// Dialog "Vornel files search dialog" over the file finder: the root folder, the file type,
// the found files, and the batch runs on them (a document group, an HTML page, conversion of
// binary documents, bundles, one zip backup) with a progress bar, a status line and a Cancel
// that stops a run between files. Its data exchange fills the controls from the finder and
// reads them back.

#include <wx/dialog.h>

#include <functional>
#include <string>

#include "shell/library/FileFinder.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxGauge;
class wxListBox;
class wxSpinCtrl;
class wxStaticText;

namespace vornel {

struct FileFinderDialogContext {
  std::string groupFolder;  // where built groups are saved
  std::string rootUrl;      // the web pages' document root
  // Opens a listed file as a document.
  std::function<void(const std::string& path)> open;
};

class CFileFinderDlg : public wxDialog, public BatchProgress {
 public:
  CFileFinderDlg(wxWindow* parent, FileFinder& finder, FileFinderDialogContext context);

  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  // --- BatchProgress: the bar and the status line; Close turns into Cancel for the run
  void Start(int total, const std::string& title) override;
  bool Step(int number, const std::string& status) override;
  void Finish() override;

  // The buttons' work.
  void SearchAgain();
  void SetRootPath();
  void SortList();
  void ExcludeSelected();
  void BuildDocumentGroup();
  void CreateHtmlPage();
  void ConvertToBtz();
  void CompressFiles();
  void ZipBackup();

  wxStaticText* status = nullptr;
  wxGauge* progress = nullptr;
  wxListBox* list = nullptr;
  wxCheckBox* sortByFileName = nullptr;
  wxStaticText* rootPath = nullptr;
  wxStaticText* countText = nullptr;
  wxCheckBox* recurse = nullptr;
  wxSpinCtrl* maximumFiles = nullptr;
  wxChoice* fileType = nullptr;
  wxButton* setRootButton = nullptr;
  wxButton* excludeButton = nullptr;
  wxButton* groupButton = nullptr;
  wxButton* htmlButton = nullptr;
  wxButton* convertButton = nullptr;
  wxButton* compressButton = nullptr;
  wxButton* zipButton = nullptr;
  wxButton* closeButton = nullptr;

 private:
  void ShowList();
  void EnableForType();
  void RunBatch(const std::function<void()>& run);

  FileFinder& finder_;
  FileFinderDialogContext context_;
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace vornel
