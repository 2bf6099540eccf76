#include "view/ui/dialogs/CBitmapPreview.h"

#include <wx/sizer.h>

#include "platform/draw/DeviceContext.h"
#include "view/render/PictureText.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {

CBitmapPreview::CBitmapPreview(wxWindow* parent, const std::string& path)
    : TexturedDialog(parent, wxID_ANY, "Image preview", 0xF0F0F0, DialogTexture::kDialog,
                     wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      timer_(this, kTimer) {
  picture_.path = path;
  frame_ = new DrawingPanel(this, [this](DeviceContext& dc) {
    if (!shown_) return;
    const wxSize size = frame_->GetClientSize();
    const Rect client{0, 0, size.x, size.y};
    dc.SelectClipRect(&client);
    // A file that cannot be read leaves the frame empty; the print reports it.
    PrintImage(dc, picture_, client);
    dc.SelectClipRect(nullptr);
  });
  frame_->SetId(kFrame);
  frame_->SetMinSize(wxSize(400, 300));
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(frame_, 1, wxEXPAND | wxALL, 6);
  top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    timer_.StartOnce(kDelayMs);
    event.Skip();
  });
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ShowPicture(); }, kTimer);
}

void CBitmapPreview::ShowPicture() {
  timer_.Stop();
  shown_ = true;
  frame_->Refresh();
}

void ShowBitmapPreview(wxWindow* parent, const std::string& path) {
  CBitmapPreview dialog(parent, path);
  dialog.ShowModal();
}

}  // namespace vornel
