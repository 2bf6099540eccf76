#include "view/core/ViewPrinting.h"

#include <filesystem>

#include <algorithm>

#include "document/CPageDlg.h"
#include "document/PageSequencing.h"
#include "model/score/CSystemArray.h"
#include "view/FramePanes.h"
#include "view/core/CBriotabView.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel::view {

std::string ProposedPdfPath(const std::string& documentPath, const std::string& title, const std::string& otherwise) {
  std::filesystem::path path;
  if (!documentPath.empty()) {
    path = std::filesystem::path(documentPath).replace_extension(".pdf");
  } else {
    path = std::filesystem::path(otherwise) / (title.empty() ? std::string("Untitled") : title);
    path += ".pdf";
  }
  return path.string();
}

// ---------------------------------------------------------------------------------------------
// The view's part

void CBriotabView::OnPreparePrinting() {
  CPageDlg& page = doc_.settings.pageSettings;
  state_.savedZoom = page.zoom;
  page.zoom = 100;
  state_.savedScroll = Window().ScrollPosition();
  ScrollTo({0, 0});
}

int32_t CBriotabView::OnBeginPrinting(bool preview, int32_t& firstPage) {
  CPageDlg& page = doc_.settings.pageSettings;
  Panes().EnableMainWindow(false);
  printing_ = true;
  savedProportional_ = page.proportionalSpacing;
  page.proportionalSpacing = page.proportionalSpacingDialog;
  const int32_t pages = BuildPrintPages(doc_, 1);
  firstPage = 0;
  if (preview && ActiveSection() != nullptr) {
    const int32_t section = ActiveSection()->index;
    for (const PageSequencing::stPageSequence& entry : page.pageSequence.entries()) {
      if (entry.kind == PageSequencing::kMusicPage && entry.block == section) {
        firstPage = std::clamp(entry.position - doc_.sequenceOffset, 0, std::max(pages - 1, 0));
        break;
      }
    }
  }
  return pages;
}

void CBriotabView::OnPrint(DeviceContext& dc, int32_t page) {
  state_.pageIndex = page;
  OnDraw(dc);
}

void CBriotabView::OnEndPrintPreview(int32_t page) {
  // The section of the page shown, read before the sequence goes.
  int32_t section = -1;
  const PageSequencing& sequence = doc_.settings.pageSettings.pageSequence;
  const int64_t position = int64_t{page} + doc_.sequenceOffset;
  if (position >= 0 && static_cast<size_t>(position) < sequence.size()) {
    const PageSequencing::stPageSequence& entry = sequence.at(static_cast<size_t>(position));
    if (entry.kind == PageSequencing::kMusicPage) section = entry.block;
  }
  OnEndPrinting();
  if (section >= 0 && section != doc_.sections.activeSection && static_cast<size_t>(section) < doc_.sections.size()) {
    state_.pageIndex = 0;
    doc_.SetActiveSection(section);
    doc_.UpdateSectionList();
  }
}

void CBriotabView::OnEndPrinting() {
  if (!printing_) return;
  CPageDlg& page = doc_.settings.pageSettings;
  Panes().EnableMainWindow(true);
  BuildPrintPages(doc_, 0);
  if (const CSystemArray* section = ActiveSection()) {
    state_.pageIndex = static_cast<int32_t>(section->PageOfSystem(static_cast<size_t>(std::max(section->activeSystem, 0))));
  }
  page.proportionalSpacing = savedProportional_;
  page.zoom = state_.savedZoom;
  printing_ = false;
  UpdateScrollSizes();
  ScrollTo(state_.savedScroll);
  Window().Invalidate();
}

// ---------------------------------------------------------------------------------------------
// The run

ViewPrintJob::ViewPrintJob(CBriotabView& view, bool preview) : view_(view), preview_(preview) {
  view_.OnPreparePrinting();
  pages_ = view_.OnBeginPrinting(preview_, firstPage_);
}

ViewPrintJob::~ViewPrintJob() { End(); }

void ViewPrintJob::PrintPage(DeviceContext& dc, int32_t page) {
  if (page < 0 || page >= pages_) return;
  view_.OnPrint(dc, page);
}

void ViewPrintJob::End() {
  if (ended_) return;
  ended_ = true;
  if (preview_ && closedOn_ >= 0) {
    view_.OnEndPrintPreview(closedOn_);
  } else {
    view_.OnEndPrinting();
  }
}

}  // namespace vornel::view
