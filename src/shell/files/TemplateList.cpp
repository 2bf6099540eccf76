#include "shell/files/TemplateList.h"

#include "model/instrument/CInstrumentDlg.h"
#include "platform/ServiceSlots.h"
#include "shell/files/FileHelpers.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "template list dialog";

TemplateListDialogs g_defaultDialogs;
ObjectSlot<TemplateListDialogs> g_dialogs(kServiceName, g_defaultDialogs);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

}  // namespace

void CTemplateList::FillFromFolder(const std::string& templatesFolder) {
  entries.clear();
  if (templatesFolder.empty()) return;
  if (const auto listed = ListTemplateFiles(templatesFolder)) entries = *listed;
}

void CTemplateList::Take(int selection) {
  const bool inside = selection >= 0 && static_cast<size_t>(selection) < entries.size();
  chosenIndex = inside ? selection : -1;
  chosenText = inside ? entries[static_cast<size_t>(selection)] : std::string();
}

void CInstrumentList::FillFromBase(const CInstrumentArray& base) {
  entries.clear();
  for (const auto& definition : base.items()) entries.push_back(definition->nameText.text);
}

bool TemplateListDialogs::Run(CTemplateList&) { return Missing(); }

TemplateListDialogs& TemplateListDialogsInForce() { return g_dialogs.Get(); }

ScopedTemplateListDialogs::ScopedTemplateListDialogs(TemplateListDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}

ScopedTemplateListDialogs::~ScopedTemplateListDialogs() { g_dialogs.Exchange(previous_); }

}  // namespace vornel
