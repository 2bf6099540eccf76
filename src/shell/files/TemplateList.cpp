#include "shell/files/TemplateList.h"

#include "model/CInstrumentDlg.h"
#include "shell/files/FileHelpers.h"

namespace vornel {

namespace {

TemplateListDialogs g_defaultDialogs;
TemplateListDialogs* g_dialogs = &g_defaultDialogs;

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

bool TemplateListDialogs::Run(CTemplateList&) { return false; }

TemplateListDialogs& TemplateListDialogsInForce() { return *g_dialogs; }

ScopedTemplateListDialogs::ScopedTemplateListDialogs(TemplateListDialogs& dialogs) : previous_(g_dialogs) {
  g_dialogs = &dialogs;
}

ScopedTemplateListDialogs::~ScopedTemplateListDialogs() { g_dialogs = previous_; }

}  // namespace vornel
