#pragma once
// The document's facsimile commands: view an image file, edit the active section's list, add a
// web address, import an image list, and the operations the views and the child frame call
// (show, remove and add a facsimile, resolve a stored name to a local file). Messages and file
// prompts go through Prompts(), the desktop's program through Programs(), the facsimile list of
// the sections pane through Panes(); what needs windows (the list dialog, the embedded image
// viewer, the facsimile pane) and the download of web images go through FacsimileWindows(),
// which the window layer installs and tests script.

#include <cstddef>
#include <functional>
#include <string>

#include "document/dialogs/FacsimileListEditing.h"
#include "view/commands/CommandTable.h"

namespace vornel {
class CBriotabDoc;
class CFacsimileListDlg;
}

namespace vornel::view {

inline constexpr int kViewImageFacsimileCommand = 33023;
inline constexpr int kAddFacsimileImageCommand = 33118;
inline constexpr int kViewSectionFacsimilesCommand = 34120;
inline constexpr int kFacsimileUrlCommand = 33838;
inline constexpr int kImportImageListCommand = 33117;
// The hint the document sends its views after loading a facsimile into the viewer.
inline constexpr int kHintFacsimileLoaded = 657;

inline constexpr const char* kCannotLocateFacsimile =
    "Cannot locate file\nPlease check the document settings image directory path";
inline constexpr const char* kImageFilePattern = "*.jpg;*.jpeg;*.tif;*.tiff;*.png;*.gif;*.bmp;*.pcx;*.tga;*.psd";
inline constexpr const char* kAddImageUrlPrompt = "Enter the full URL, including the http prefix:";

// EditFacsimileList runs the "Add digital facsimile" dialog on `list`; true when the user
// pressed OK (the dialog has then committed its changes to `list`). Installing the windows also
// gives it to the "Facsimile list" buttons of the section and document dialogs.
class FacsimileWindows : public FacsimileListEditing {
 public:
  // Opens a local image file in the document's image viewer and shows the facsimile pane;
  // false when the file could not be decoded (the viewer has said why).
  virtual bool ShowInViewer(CBriotabDoc& doc, const std::string& path) = 0;
  // Fetches a web image into the cache of downloaded images; the local file, or empty on
  // failure. `printing` is set while pages are printed (no browser is ever opened then).
  virtual std::string FetchWebImage(const std::string& url, bool printing) = 0;
  // Runs a command of the document's image viewer (kViewerCommands); false without a viewer.
  virtual bool RunViewerCommand(CBriotabDoc& /*doc*/, int /*id*/) { return false; }
};

// The image viewer's commands that the document's table hands to the viewer: add the image
// to the list, close, fit, open another, clear the cache, zoom mode, grey scale, resize.
inline constexpr int kViewerCommands[] = {33022, 33024, 33025, 33026, 33027, 32948, 33056, 33061};

// The installed windows; without any, the dialog and the viewer say that none is installed,
// nothing is shown and nothing is fetched.
FacsimileWindows& Facsimiles();
class ScopedFacsimileWindows {
 public:
  explicit ScopedFacsimileWindows(FacsimileWindows& windows);
  ~ScopedFacsimileWindows();
  ScopedFacsimileWindows(const ScopedFacsimileWindows&) = delete;
  ScopedFacsimileWindows& operator=(const ScopedFacsimileWindows&) = delete;

 private:
  FacsimileWindows* previous_;
  ScopedFacsimileListEditing listEditing_;
};


// The active section's facsimile names to the sections pane's facsimile list.
void UpdateFacsimilePane(const CBriotabDoc& doc);
// Stored name -> local file: web addresses of images are fetched (others opened in the browser
// unless printing), local names looked up as the document does. True with `name` replaced.
bool ResolveFacsimile(CBriotabDoc& doc, std::string& name, bool printing);
// How pages resolve a stored picture or facsimile while drawing: as ResolveFacsimile while
// printing, so a web image is taken from the cache or fetched, and nothing is asked or opened.
bool ResolvePageImage(CBriotabDoc& doc, std::string& name);
// A ".pdf" name goes to the desktop's program; any other is resolved and shown in the viewer.
void ShowFacsimileFile(CBriotabDoc& doc, const std::string& name);
// Shows entry `index` of the active section's list (std::out_of_range outside it).
void ViewFacsimile(CBriotabDoc& doc, size_t index);
// Asks, then removes entry `index` of the active section's list and marks the document modified.
void RemoveFacsimile(CBriotabDoc& doc, size_t index);
// Appends a file with an empty caption to the active section's list.
void AddFacsimileFile(CBriotabDoc& doc, const std::string& path);
// The list dialog on the active section's list; the pane is refreshed only after OK.
void AddFacsimile(CBriotabDoc& doc);
// Asks for a web address and appends it with an empty caption; true on OK.
bool AddImageUrl(CFacsimileListDlg& list);
// Reads a tab-separated image list (author, caption, title, comments, image names separated by
// ';', the last five fields of each line) into new sections at the end of the list. Lines of
// fewer than five fields are skipped and counted; returns the number of sections added.
size_t ImportImageList(CBriotabDoc& doc, const std::string& path);

// Enters the commands in the document's table. `doc` must outlive the table's use of them.
void RegisterFacsimileCommands(CommandTable& table, CBriotabDoc& doc);

// The image viewer's own table: Print and Print preview act on its picture (enabled while it
// has one). The tab puts it before the score view's table while the viewer is the active view,
// so these ids print the picture there and the score everywhere else.
void RegisterImageViewerCommands(CommandTable& table, std::function<bool()> hasImage, std::function<void()> print,
                                 std::function<void()> preview);

}  // namespace vornel::view
