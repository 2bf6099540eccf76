#include "view/settings/SettingsCommands.h"

#include <array>
#include <tuple>

#include "document/CBriotabDoc.h"
#include "platform/ServiceSlots.h"
#include "view/FramePanes.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "document settings dialog";

SettingsDialogs g_noDialogs;
ObjectSlot<SettingsDialogs> g_dialogs(kServiceName, g_noDialogs);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

// Every view redraws its pages.
constexpr int kRedrawHint = 0;

}  // namespace

bool SettingsDialogs::EditPageSettings(CPageDlg&) { return Missing(); }
bool SettingsDialogs::EditDocumentFonts(CPageDlg&) { return Missing(); }
bool SettingsDialogs::EditDocumentInformation(CDocumentSettings&) { return Missing(); }
bool SettingsDialogs::EditTitlePage(CTitlePage&) { return Missing(); }
bool SettingsDialogs::ChangeCourseTuning(const nTuning&, CBourdonTuningDlg&) { return Missing(); }

SettingsDialogs& CurrentSettingsDialogs() { return g_dialogs.Get(); }

ScopedSettingsDialogs::ScopedSettingsDialogs(SettingsDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}

ScopedSettingsDialogs::~ScopedSettingsDialogs() { g_dialogs.Exchange(previous_); }

namespace view {

void RegisterSettingsCommands(CommandTable& table, CBriotabDoc& doc) {
  // The properties window shows the settings these dialogs change: it follows their OK.
  table.Add(kPageLayoutCommand, [&doc](const CommandEvent&) {
    if (!CurrentSettingsDialogs().EditPageSettings(doc.settings.pageSettings)) return;
    doc.NotifyChanged(kRedrawHint);
    Panes().RefreshProperties();
  });
  table.Add(kDocumentFontsCommand, [&doc](const CommandEvent&) {
    // The font buttons change the fonts at once, so Cancel keeps what was chosen before it.
    CPageDlg& page = doc.settings.pageSettings;
    // What the font dialog and a theme set: face, style, size and colour.
    const auto chosen = [&page](size_t i) {
      const dfLogFont& f = page.DocumentFont(i);
      return std::tuple(f.logFont, f.pointSize, f.color);
    };
    std::array<decltype(chosen(0)), kDocumentFontCount> before;
    for (size_t i = 0; i < kDocumentFontCount; ++i) before[i] = chosen(i);
    bool changed = CurrentSettingsDialogs().EditDocumentFonts(page);
    for (size_t i = 0; i < kDocumentFontCount; ++i) changed = changed || chosen(i) != before[i];
    if (changed) doc.NotifyChanged(kRedrawHint);
  });
  table.Add(kBookSettingsCommand, [&doc](const CommandEvent&) {
    if (!CurrentSettingsDialogs().EditDocumentInformation(doc.settings)) return;
    doc.NotifyChanged(kRedrawHint);
    Panes().RefreshProperties();
  });
  table.Add(kTitlePageSettingsCommand, [&doc](const CommandEvent&) {
    if (CurrentSettingsDialogs().EditTitlePage(doc.settings.titlePage)) doc.NotifyChanged(kRedrawHint);
  });
}

}  // namespace view

}  // namespace vornel
