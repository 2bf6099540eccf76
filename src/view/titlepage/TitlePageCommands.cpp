#include "view/titlepage/TitlePageCommands.h"

#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "view/FramePanes.h"
#include "view/titlepage/CTitlePageView.h"

namespace vornel::view {

void RegisterTitlePageCommands(CommandTable& table, CBriotabDoc& doc) {
  table.Add(kEditTitlePageCommand, [&doc](const CommandEvent&) {
    doc.settings.pageSettings.zoom = 100;
    Panes().ShowTitlePageView(doc);
    doc.NotifyChanged(kHintRepaintAll);
  });
}

}  // namespace vornel::view
