#include "platform/ui/WxPrompts.h"

#include <algorithm>

#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/numdlg.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>
#include <wx/utils.h>

#include "platform/io/FileDialogFolders.h"
#include "platform/ui/ProgressDialogRun.h"

namespace vornel {

namespace {

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

long IconStyle(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning: return wxICON_WARNING;
    case MessageKind::kError: return wxICON_ERROR;
    case MessageKind::kQuestion: return wxICON_QUESTION;
    default: return wxICON_INFORMATION;
  }
}

wxString Caption(std::string_view caption) { return caption.empty() ? wxString(kApplicationName) : FromUtf8(caption); }

// "*.xml;*.musicxml" shows as one filter of both patterns, then "All files".
wxString Wildcard(std::string_view pattern) {
  const wxString p = FromUtf8(pattern);
  return p + "|" + p + "|All files (*.*)|*";
}

}  // namespace

void WxPrompts::ShowMessage(std::string_view text, MessageKind kind, std::string_view caption) {
  wxMessageBox(FromUtf8(text), Caption(caption), wxOK | IconStyle(kind), parent_);
}

Answer WxPrompts::Ask(std::string_view text, Buttons buttons, MessageKind kind, std::string_view caption) {
  long style = IconStyle(kind);
  switch (buttons) {
    case Buttons::kOk: style |= wxOK; break;
    case Buttons::kOkCancel: style |= wxOK | wxCANCEL; break;
    case Buttons::kYesNo: style |= wxYES_NO; break;
    case Buttons::kYesNoCancel: style |= wxYES_NO | wxCANCEL; break;
  }
  switch (wxMessageBox(FromUtf8(text), Caption(caption), style, parent_)) {
    case wxOK: return Answer::kOk;
    case wxYES: return Answer::kYes;
    case wxNO: return Answer::kNo;
    default: return Answer::kCancel;
  }
}

void WxPrompts::Beep(BeepKind) { wxBell(); }

// The choosers start where the caller asks, else in the last folder used, else in the documents
// folder; what is chosen becomes the last folder.
std::optional<std::string> WxPrompts::PromptOpenFile(std::string_view title, std::string_view pattern,
                                                     std::string_view initialFolder) {
  FileDialogFolders& folders = FileDialogFolders::Shared();
  wxFileDialog dialog(parent_, FromUtf8(title), FromUtf8(folders.StartFolder(initialFolder)), wxEmptyString,
                      Wildcard(pattern), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  std::string path(dialog.GetPath().utf8_str());
  folders.Chosen(path);
  return path;
}

std::optional<std::string> WxPrompts::PromptSaveFile(std::string_view title, std::string_view pattern,
                                                     std::string_view suggestedName, std::string_view initialFolder) {
  FileDialogFolders& folders = FileDialogFolders::Shared();
  wxFileDialog dialog(parent_, FromUtf8(title), FromUtf8(folders.StartFolder(initialFolder)), FromUtf8(suggestedName),
                      Wildcard(pattern), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  std::string path(dialog.GetPath().utf8_str());
  // The chooser leaves the name as typed: under the pattern's own filter it takes its extension.
  if (dialog.GetFilterIndex() == 0) path = WithPatternExtension(std::move(path), pattern);
  folders.Chosen(path);
  return path;
}

std::optional<std::string> WxPrompts::PromptFolder(std::string_view title, std::string_view initialFolder) {
  FileDialogFolders& folders = FileDialogFolders::Shared();
  wxDirDialog dialog(parent_, FromUtf8(title), FromUtf8(folders.StartFolder(initialFolder)),
                     wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  std::string path(dialog.GetPath().utf8_str());
  folders.Chosen(path, true);
  return path;
}

std::optional<std::string> WxPrompts::PromptText(std::string_view prompt, std::string_view initial,
                                                 std::string_view caption) {
  wxTextEntryDialog dialog(parent_, FromUtf8(prompt), Caption(caption), FromUtf8(initial));
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return std::string(dialog.GetValue().utf8_str());
}

std::optional<long> WxPrompts::PromptNumber(std::string_view caption, std::string_view prompt, long minimum,
                                            long maximum, long value) {
  if (minimum > maximum) std::swap(minimum, maximum);
  value = std::clamp(value, minimum, maximum);
  wxNumberEntryDialog dialog(parent_, FromUtf8(prompt), wxEmptyString, Caption(caption), value, minimum, maximum);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return std::clamp(dialog.GetValue(), minimum, maximum);
}

std::unique_ptr<BatchProgress> WxPrompts::ProgressWindow() { return std::make_unique<ProgressDialogRun>(parent_); }

}  // namespace vornel
