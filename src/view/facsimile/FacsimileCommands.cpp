#include "view/facsimile/FacsimileCommands.h"

#include <memory>
#include <string_view>
#include <vector>

#include "document/CBriotabDoc.h"
#include "document/DocumentEnvironment.h"
#include "model/text/CFacsimileListDlg.h"
#include "model/score/CSystemArray.h"
#include "platform/ServiceSlots.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/io/ProgramLauncher.h"
#include "view/FramePanes.h"
#include "view/core/ViewIds.h"

namespace vornel::view {

namespace {

constexpr const char* kServiceName = "image viewer";

// Fetching is no window's business: without windows nothing is fetched, silently, as pages
// drawn by the tools resolve their images through it.
class NoFacsimileWindows : public FacsimileWindows {
 public:
  bool EditFacsimileList(CFacsimileListDlg&) override {
    ReportMissingService(kServiceName);
    return false;
  }
  bool ShowInViewer(CBriotabDoc&, const std::string&) override {
    ReportMissingService(kServiceName);
    return false;
  }
  std::string FetchWebImage(const std::string&, bool) override { return {}; }
  bool RunViewerCommand(CBriotabDoc&, int) override {
    ReportMissingService(kServiceName);
    return false;
  }
} g_none;
ObjectSlot<FacsimileWindows> g_windows(kServiceName, g_none);

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n' ||
                           text.back() == '\v' || text.back() == '\f')) {
    text.remove_suffix(1);
  }
  return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (true) {
    const size_t end = text.find(separator, at);
    fields.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
    if (end == std::string_view::npos) return fields;
    at = end + 1;
  }
}

}  // namespace

FacsimileWindows& Facsimiles() { return g_windows.Get(); }

ScopedFacsimileWindows::ScopedFacsimileWindows(FacsimileWindows& windows)
    : previous_(g_windows.Exchange(&windows)), listEditing_(windows) {}
ScopedFacsimileWindows::~ScopedFacsimileWindows() { g_windows.Exchange(previous_); }

void UpdateFacsimilePane(const CBriotabDoc& doc) {
  std::vector<std::string> names;
  if (doc.sections.size() > 0) {
    const CFacsimileListDlg& list = doc.GetActiveSection()->facsimiles;
    for (size_t i = 0; i < list.size(); ++i) names.push_back(list.GetImageName(i));
  }
  Panes().ShowFacsimiles(names);
}

bool ResolveFacsimile(CBriotabDoc& doc, std::string& name, bool printing) {
  if (!name.starts_with("http")) return doc.ResolveFacsimilePath(name);
  if (!IsImagePath(name)) {
    if (!printing) Programs().OpenWithDefault(name);
    return false;
  }
  std::string local = Facsimiles().FetchWebImage(name, printing);
  if (local.empty()) return false;
  name = std::move(local);
  return true;
}

bool ResolvePageImage(CBriotabDoc& doc, std::string& name) { return ResolveFacsimile(doc, name, true); }

void ShowFacsimileFile(CBriotabDoc& doc, const std::string& name) {
  // Only a lower-case ".pdf" goes to the desktop's program; ".PDF" takes the image route.
  if (const size_t dot = name.rfind('.'); dot != std::string::npos && name.compare(dot, 4, ".pdf") == 0) {
    Programs().OpenWithDefault(name);
    return;
  }
  std::string path = name;
  if (!ResolveFacsimile(doc, path, false)) {
    Prompts().ShowMessage(kCannotLocateFacsimile, MessageKind::kWarning);
    return;
  }
  if (Facsimiles().ShowInViewer(doc, path)) doc.UpdateAllViews(kHintFacsimileLoaded);
}

void ViewFacsimile(CBriotabDoc& doc, size_t index) {
  ShowFacsimileFile(doc, doc.GetActiveSection()->facsimiles.GetImagePath(index));
}

void RemoveFacsimile(CBriotabDoc& doc, size_t index) {
  CFacsimileListDlg& list = doc.GetActiveSection()->facsimiles;
  const std::string name = list.GetImagePath(index);
  if (Prompts().Ask("OK to remove this facsimile: " + name, Buttons::kYesNo) != Answer::kYes) return;
  list.RemoveImage(index);
  UpdateFacsimilePane(doc);
  doc.SetModifiedFlag();
}

void AddFacsimileFile(CBriotabDoc& doc, const std::string& path) {
  doc.GetActiveSection()->facsimiles.AddImage(path);
  doc.SetModifiedFlag();
  UpdateFacsimilePane(doc);
}

namespace {

// The active section's list in the list dialog; the document is modified when OK changed it.
// True for OK.
bool EditSectionFacsimiles(CBriotabDoc& doc) {
  CFacsimileListDlg& list = doc.GetActiveSection()->facsimiles;
  const std::vector<std::string> paths = list.imagePaths;
  const std::vector<std::string> captions = list.captions;
  if (!Facsimiles().EditFacsimileList(list)) return false;
  if (list.imagePaths != paths || list.captions != captions) doc.SetModifiedFlag();
  return true;
}

}  // namespace

void AddFacsimile(CBriotabDoc& doc) {
  if (EditSectionFacsimiles(doc)) UpdateFacsimilePane(doc);
}

bool AddImageUrl(CFacsimileListDlg& list) {
  const std::optional<std::string> url = Prompts().PromptText(kAddImageUrlPrompt, "");
  if (!url) return false;
  list.AddImage(*url);
  return true;
}

size_t ImportImageList(CBriotabDoc& doc, const std::string& path) {
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, CBriotabDoc::kMaxFileBytes);
  if (!bytes) return 0;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  size_t added = 0;
  size_t skipped = 0;
  std::vector<std::string_view> lines = Split(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the file's last line feed
  for (const std::string_view raw : lines) {
    const std::vector<std::string_view> fields = Split(TrimRight(raw), '\t');
    if (fields.size() < 5) {
      ++skipped;
      continue;
    }
    const size_t first = fields.size() - 5;
    auto section = std::make_unique<CSystemArray>();
    section->Author().text = std::string(fields[first]);
    section->Title().text = std::string(fields[first + 2]);
    section->Comments().text = std::string(fields[first + 3]);
    for (const std::string_view image : Split(fields[first + 4], ';')) {
      CFacsimileListDlg& list = section->facsimiles;
      list.AddImage(Environment().imageListPrefix + std::string(TrimRight(image)));
      list.captions.back() = std::string(fields[first + 1]);
    }
    doc.sections.push_back(std::move(section));
    ++added;
  }
  for (size_t i = 0; i < doc.sections.size(); ++i) {
    if (doc.sections.items()[i] != nullptr) doc.sections.items()[i]->index = static_cast<int32_t>(i);
  }
  if (skipped > 0) {
    Prompts().ShowMessage(std::to_string(skipped) + " line(s) of the image list had fewer than five fields and were skipped",
                          MessageKind::kWarning);
  }
  doc.UpdateSectionList();
  doc.SetModifiedFlag();
  doc.UpdateAllViews(0);
  return added;
}

void RegisterFacsimileCommands(CommandTable& table, CBriotabDoc& doc) {
  table.Add(kViewImageFacsimileCommand, [&doc](const CommandEvent&) {
    const std::optional<std::string> file =
        Prompts().PromptOpenFile("Open image", kImageFilePattern);
    if (file) ShowFacsimileFile(doc, *file);
  });
  const auto editList = [&doc](const CommandEvent&) {
    EditSectionFacsimiles(doc);
    UpdateFacsimilePane(doc);  // whatever the dialog returned
  };
  table.Add(kAddFacsimileImageCommand, editList);
  table.Add(kViewSectionFacsimilesCommand, editList);
  table.Add(kFacsimileUrlCommand, [&doc](const CommandEvent&) {
    if (!AddImageUrl(doc.GetActiveSection()->facsimiles)) return;
    doc.SetModifiedFlag();
    UpdateFacsimilePane(doc);
  });
  for (const int id : kViewerCommands) {
    table.Add(id, [&doc, id](const CommandEvent&) { Facsimiles().RunViewerCommand(doc, id); });
  }
  table.Add(kImportImageListCommand, [&doc](const CommandEvent&) {
    const std::optional<std::string> file = Prompts().PromptOpenFile("Import image list", "*.txt");
    if (file) ImportImageList(doc, *file);
  });
}

void RegisterImageViewerCommands(CommandTable& table, std::function<bool()> hasImage, std::function<void()> print,
                                 std::function<void()> preview) {
  table.Add(kPrint, [print = std::move(print)](const CommandEvent&) { print(); }, hasImage);
  table.Add(kPrintPreview, [preview = std::move(preview)](const CommandEvent&) { preview(); }, hasImage);
}

}  // namespace vornel::view
