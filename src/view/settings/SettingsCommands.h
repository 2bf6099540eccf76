#pragma once
// The document's settings dialogs as commands: 33294 "Page layout" (the page settings),
// 33407 "Document fonts", 33059 "Book settings" (the document information) and 32970 "Title
// page settings". The dialogs
// are reached through an interface the window layer installs; until it does, each says that
// none is installed. OK marks the document changed and redraws its views (the page layout and
// the book settings the properties window too); the settings dialogs change no section, so
// they take no undo snapshot.

#include "view/commands/CommandTable.h"

namespace vornel {

class CBriotabDoc;
class CDocumentSettings;
class CPageDlg;
class CTitlePage;
class nTuning;
struct CBourdonTuningDlg;

class SettingsDialogs {
 public:
  virtual ~SettingsDialogs() = default;
  virtual bool EditPageSettings(CPageDlg& page);
  virtual bool EditDocumentFonts(CPageDlg& page);
  virtual bool EditDocumentInformation(CDocumentSettings& settings);
  virtual bool EditTitlePage(CTitlePage& page);
  // "Modify string tuning" on the courses of a tuning.
  virtual bool ChangeCourseTuning(const nTuning& tuning, CBourdonTuningDlg& choice);
};

SettingsDialogs& CurrentSettingsDialogs();

class ScopedSettingsDialogs {
 public:
  explicit ScopedSettingsDialogs(SettingsDialogs& dialogs);
  ~ScopedSettingsDialogs();
  ScopedSettingsDialogs(const ScopedSettingsDialogs&) = delete;
  ScopedSettingsDialogs& operator=(const ScopedSettingsDialogs&) = delete;

 private:
  SettingsDialogs* previous_;
};

namespace view {

inline constexpr int kPageLayoutCommand = 33294;
inline constexpr int kDocumentFontsCommand = 33407;
inline constexpr int kBookSettingsCommand = 33059;
inline constexpr int kTitlePageSettingsCommand = 32970;

// `doc` must outlive the table's use of these entries.
void RegisterSettingsCommands(CommandTable& table, CBriotabDoc& doc);

}  // namespace view

}  // namespace vornel
