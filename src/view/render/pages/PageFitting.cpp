#include "view/render/pages/PageFitting.h"

#include <algorithm>
#include <string>

#include "document/CPageDlg.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "view/render/pages/ClefRecords.h"
#include "view/render/pages/SectionPages.h"

namespace vornel {

namespace {

// The systems from `from` (the start of the last page in the list, whose end is not known yet)
// on cut into pages of as many as the fullest page measured holds.
void EstimatePagesFrom(CSystemArray& section, size_t from) {
  std::vector<size_t>& starts = section.pageStarts;
  size_t per = 1;
  for (size_t p = 0; p + 1 < starts.size(); ++p) per = std::max(per, starts[p + 1] - starts[p]);
  section.firstEstimatedPage = starts.size() - 1;
  for (size_t s = from + per; s < section.systems.size(); s += per) starts.push_back(s);
}

}  // namespace

bool PagesLaidOut(const CSystemArray& section) {
  return !section.pageStarts.empty() && section.firstEstimatedPage >= section.pageStarts.size();
}

void FitSystemsThroughPage(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const Rect& printable,
                           size_t throughPage, size_t budget) {
  std::vector<size_t>& starts = section.pageStarts;
  if (PagesLaidOut(section)) return;
  // The first page not measured yet starts where the measured ones end.
  const size_t fitted = starts.empty() ? 0 : std::min(section.firstEstimatedPage, starts.size() - 1);
  if (!starts.empty() && fitted > throughPage) return;
  size_t s = fitted == 0 ? 0 : starts[fitted];
  starts.resize(fitted + 1);
  starts[fitted] = s;
  const size_t count = section.systems.size();
  const int32_t counter = page.footnoteCounter;
  const std::string footnotes = page.footnoteText;
  const ReachContext context = ReachContextOf(section, page, dc, printable);
  SyncRecordedClefs(section, s, dc, page, printable);
  RecordedClefState clefs = ReadRecordedClefs(section);
  const int64_t height = printable.Height();
  const int64_t gap = GapBetweenSystems(dc, page);
  const size_t limit = static_cast<size_t>(std::max(section.stavesPerPage, 1));
  size_t onPage = 0;
  int64_t used = 0;
  size_t measured = 0;
  bool stopped = false;
  for (; s < count; ++s) {
    if (s % kClefCheckpointEvery == 0) section.clefCheckpoints.insert_or_assign(s, clefs);
    const int64_t room = MeasureSystemRoom(section, s, dc, page, printable, context, clefs);
    ++measured;
    // As KeepFittingPageStarts breaks the pages.
    if (onPage > 0 && (onPage >= limit || used + gap + room > height)) {
      starts.push_back(s);
      if (starts.size() - 1 > throughPage || measured >= budget) {
        stopped = true;
        break;
      }
      onPage = 0;
      used = 0;
    }
    used += (onPage > 0 ? gap : 0) + room;
    ++onPage;
  }
  if (stopped) {
    EstimatePagesFrom(section, s);
  } else {
    section.firstEstimatedPage = SIZE_MAX;
  }
  // The definitions forget the clefs, as before any drawing; the checkpoints keep them.
  for (const auto& definition : section.definitions.items()) {
    if (definition != nullptr) definition->ForgetRecordedClefs();
  }
  section.clefsRecordedThrough = 0;
  page.footnoteCounter = counter;
  page.footnoteText = footnotes;
}

}  // namespace vornel
