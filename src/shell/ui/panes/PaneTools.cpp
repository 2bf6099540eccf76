#include "shell/ui/panes/PaneTools.h"

#include <wx/artprov.h>
#include <wx/image.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <string_view>

#include "platform/UserPrompts.h"

namespace vornel {

namespace {

struct ToolLook {
  int command;
  const char* art;
  const char* tip;
};

// The tool tips are the tools' texts; the images come from the desktop's theme.
constexpr ToolLook kLooks[] = {
    // Sections and facsimiles lists.
    {33297, wxART_HELP_SETTINGS, "Current section settings"},
    {33300, wxART_PLUS, "Add a new section"},
    {33299, wxART_DELETE, "Delete this section"},
    {32991, wxART_COPY, "Copy section"},
    {33302, wxART_PASTE, "Paste section"},
    {33836, wxART_LIST_VIEW, "Manage facsimiles"},
    {33833, wxART_FILE_OPEN, "Open selected image"},
    {33834, wxART_MINUS, "Close image"},
    {33835, wxART_HARDDISK, "Open image froim disk"},
    {33838, wxART_GO_FORWARD, "Add a facsimile URL"},
    {33837, wxART_CLOSE, "Close image"},
    // Templates and instruments lists.
    {34111, wxART_NEW, "Create a new document from this template"},
    {34112, wxART_REDO, "Apply this template to document"},
    {34115, wxART_DELETE, "Delete template"},
    {34113, wxART_FILE_SAVE_AS, "Save as a template"},
    {34114, wxART_FOLDER_OPEN, "Open templates root directory"},
    {34109, wxART_FOLDER, "Import another instrument bank"},
    {34108, wxART_FILE_OPEN, "Open instrument databse"},
    {34105, wxART_EDIT, "Edit instrument"},
    {34104, wxART_PLUS, "Import instrument in section"},
    {34107, wxART_GO_UP, "Import active instrument to database"},
    {34106, wxART_TICK_MARK, "Apply this instrument definition"},
    {34110, wxART_DELETE, "Delete instrument from database"},
    // The file explorer.
    {34100, wxART_FILE_OPEN, "Open a Vornel file"},
    {34101, wxART_FILE_SAVE, "Save all open files"},
    {34103, wxART_FIND, "Search for Vornel files"},
    {34102, wxART_GO_HOME, "XML root folder"},
    // The palettes pane.
    {33919, wxART_EXECUTABLE_FILE, "Instrument definition"},
    {33920, wxART_HELP_SETTINGS, "Customize ornaments"},
    {34157, wxART_PLUS, "Insert grace notes"},
    {34121, wxART_GO_UP, "Float the upper palette"},
    {34122, wxART_GO_DOWN, "Float the lower palette"},
    {33921, wxART_LIST_VIEW, "Set toolbar columns"},
    {34371, wxART_REDO, "Swap ornaments"},
    // The properties window.
    {153, wxART_REPORT_VIEW, "Document properties"},
    {33294, wxART_PRINT, "View page layout options"},
    {33412, wxART_UNDO, "Reset title alignments"},
    {34120, wxART_LIST_VIEW, "Facsimile images"},
    {151, wxART_GOTO_LAST, "Sort"},
    {154, wxART_PLUS, "Expand all"},
};

const ToolLook* LookOf(int command) {
  for (const ToolLook& look : kLooks) {
    if (look.command == command) return &look;
  }
  return nullptr;
}

}  // namespace

wxBitmap ToWxBitmap(const DeviceBitmap& bitmap, const Rect& cell) {
  const int width = std::max(0, cell.right - cell.left);
  const int height = std::max(0, cell.bottom - cell.top);
  if (width == 0 || height == 0 || cell.right > bitmap.Width() || cell.bottom > bitmap.Height()) return wxBitmap();
  wxImage image(width, height);
  unsigned char* rgb = image.GetData();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = bitmap.GetPixel(cell.left + x, cell.top + y);
      unsigned char* p = rgb + 3 * (static_cast<size_t>(y) * width + x);
      p[0] = GetRValue(c);
      p[1] = GetGValue(c);
      p[2] = GetBValue(c);
    }
  }
  return wxBitmap(image);
}

wxAuiToolBar* MakeCommandToolBar(wxWindow* parent, std::span<const int> commands, std::function<void(int)> run) {
  auto* bar = new wxAuiToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxAUI_TB_HORIZONTAL);
  bar->SetToolBitmapSize(wxSize(16, 16));
  for (int command : commands) {
    const ToolLook* look = LookOf(command);
    const wxString tip = look != nullptr ? wxString::FromUTF8(look->tip) : wxString::Format("%d", command);
    const wxBitmap image =
        wxArtProvider::GetBitmap(look != nullptr ? look->art : wxART_QUESTION, wxART_TOOLBAR, wxSize(16, 16));
    bar->AddTool(command, tip, image, tip);
  }
  bar->Realize();
  bar->Bind(wxEVT_TOOL, [run = std::move(run)](wxCommandEvent& event) { RunGuarded([&] { run(event.GetId()); }); });
  return bar;
}

void WhenFirstShown(wxWindow* host, std::function<void()> build) {
  if (host->IsShown()) {
    build();
    return;
  }
  auto pending = std::make_shared<std::function<void()>>(std::move(build));
  host->Bind(wxEVT_SHOW, [pending](wxShowEvent& event) {
    event.Skip();
    if (!event.IsShown() || !*pending) return;
    const std::function<void()> run = std::move(*pending);
    *pending = nullptr;
    run();
  });
}

}  // namespace vornel
