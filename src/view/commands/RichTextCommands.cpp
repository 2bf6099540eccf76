// The rich texts of the document and of the active section, opened in the rich-text editor:
// the preface and the formatted title of the title page, the section's notes and the table of
// contents built from the sections. OK keeps the edited text; Cancel changes nothing.

#include "document/CTitlePage.h"
#include "model/text/CRTFPreface.h"
#include "model/score/CSystemArray.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/CBriotabView.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/TitlePagePrinting.h"

namespace vornel::view {

namespace {

constexpr int kEditPreface = 33425;
constexpr int kEditFormattedTitle = 33426;
constexpr int kEditSectionNotes = 33427;
constexpr int kLoadContents = 33501;

// The editor on `block`; true when the edited text was kept (OK on a block that is not
// read-only).
bool EditBlock(CRTFPreface& block) { return block.Edit() != 0 && block.readOnly == 0; }

}  // namespace

void AddRichTextCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  CTitlePage& titlePage = doc.settings.titlePage;
  const auto hasSection = [&view] { return view.ActiveSection() != nullptr; };

  // The title page's texts belong to the document, not to a section: no undo step.
  t.Add(kEditPreface, [&doc, &titlePage](const CommandEvent&) {
    if (EditBlock(titlePage.preface)) doc.NotifyChanged(kHintRepaintAll);
  });
  t.Add(kEditFormattedTitle, [&doc, &titlePage](const CommandEvent&) {
    if (titlePage.formattedTitle.EditRtf()) doc.NotifyChanged(kHintRepaintAll);
  });
  t.Add(kEditSectionNotes,
        [&doc](const CommandEvent&) {
          SnapshotEditIf(doc, kHintRepaintAll, [&doc] { return EditBlock(doc.GetActiveSection()->couplets); });
        },
        hasSection, [&view] { return view.ActiveSection() != nullptr && !view.ActiveSection()->couplets.text.empty(); });
  // The contents with the pages the print sequence gives the sections. The block is made
  // afresh whenever the contents are printed and is never stored, so editing it is no change
  // of the document.
  t.Add(kLoadContents,
        [&doc, &titlePage](const CommandEvent&) {
          BuildPrintPages(doc, 1);
          BuildContentsRtf(titlePage, ContentsEntries(doc), doc.settings.pageSettings.pageSequence,
                           doc.settings.pageSettings);
          BuildPrintPages(doc, 0);
          titlePage.contentsRtf.Edit();
        },
        hasSection);
}

}  // namespace vornel::view
