#include "shell/ui/panes/DatabaseBar.h"

#include <wx/dcmemory.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include "document/CVornelTabDoc.h"
#include "platform/UserPrompts.h"
#include "shell/ui/library/FileFinderDialog.h"

namespace vornel {

namespace {

constexpr int kTreeImageSize = 24;
constexpr int kToolImageSize = 22;
// Menu items take small ids (the window system's limit); each stands for a command.
constexpr int kFirstMenuItem = 1000;

struct ToolText {
  int command;
  const char* tip;
};
constexpr ToolText kToolTexts[] = {
    {33070, "Search for Vornel files"},    {33078, "Open root folder"},
    {33072, "Reset group title"},          {33071, "Re-index group"},
    {33080, "Delete document group"},      {33074, "Add document to database"},
    {33073, "Remove document from database"}, {33079, "Export group to HTML page"},
};

// The context menu's entries; 0 is a separator.
constexpr ToolText kMenuTexts[] = {
    {33078, "Open root folder"},
    {0, nullptr},
    {33070, "Create group"},
    {33072, "Reset group title"},
    {33071, "Reindex group"},
    {33080, "Delete group"},
    {0, nullptr},
    {33074, "Add current document to group"},
    {33073, "Remove document from group"},
    {0, nullptr},
    {33079, "Export group's content to HTML page"},
};

class GroupItemData : public wxTreeItemData {
 public:
  explicit GroupItemData(GroupSelection selection) : selection(selection) {}
  GroupSelection selection;
};

// A page with a folded corner, the mark of a document.
void DrawPage(wxDC& dc, int x, int y, int w, int h, const wxColour& fill) {
  const int fold = w / 3;
  const wxPoint outline[] = {{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}};
  dc.SetPen(wxPen(wxColour(60, 60, 60)));
  dc.SetBrush(wxBrush(fill));
  dc.DrawPolygon(5, outline);
  dc.DrawLine(x + w - fold, y, x + w - fold, y + fold);
  dc.DrawLine(x + w - fold, y + fold, x + w, y + fold);
}

void DrawFolder(wxDC& dc, int x, int y, int w, int h) {
  dc.SetPen(wxPen(wxColour(120, 90, 20)));
  dc.SetBrush(wxBrush(wxColour(240, 200, 90)));
  dc.DrawRectangle(x, y + h / 5, w, h - h / 5);
  dc.DrawRectangle(x, y, w / 2, h / 5 + 1);
}

// A picture drawn on a transparent square.
template <typename Draw>
wxBitmap DrawnBitmap(int size, Draw draw) {
  wxBitmap bitmap(size, size, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
    dc.Clear();
    draw(dc);
  }
  wxImage drawn = bitmap.ConvertToImage();
  if (!drawn.HasAlpha()) drawn.InitAlpha();
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool background = drawn.GetRed(x, y) == 255 && drawn.GetGreen(x, y) == 0 && drawn.GetBlue(x, y) == 255;
      drawn.SetAlpha(x, y, background ? 0 : 255);
    }
  }
  return wxBitmap(drawn);
}

wxBitmap TreeImage(int image) {
  return DrawnBitmap(kTreeImageSize, [image](wxDC& dc) {
    const int s = kTreeImageSize;
    switch (image) {
      case CDatabaseTreeCtrl::kGroupImage:
        DrawFolder(dc, 2, 4, s - 4, s - 8);
        break;
      case CDatabaseTreeCtrl::kDocumentImage:
      case CDatabaseTreeCtrl::kDocumentSelected:
        DrawPage(dc, 5, 2, s - 10, s - 4,
                 image == CDatabaseTreeCtrl::kDocumentSelected ? wxColour(190, 215, 255) : *wxWHITE);
        break;
      default: {
        // A section: a short stave of three lines.
        const bool selected = image == CDatabaseTreeCtrl::kSectionSelected;
        dc.SetPen(wxPen(selected ? wxColour(30, 80, 200) : wxColour(60, 60, 60), 2));
        for (int line = 0; line < 3; ++line) dc.DrawLine(4, 7 + line * 5, s - 4, 7 + line * 5);
        break;
      }
    }
  });
}

}  // namespace

wxBitmap GroupToolBitmap(int command, int size) {
  return DrawnBitmap(size, [command, size](wxDC& dc) {
    const int s = size;
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    switch (command) {
      case 33070:  // a magnifying glass
        dc.SetPen(wxPen(wxColour(40, 40, 40), 2));
        dc.DrawCircle(s * 2 / 5, s * 2 / 5, s / 4);
        dc.SetPen(wxPen(wxColour(40, 40, 40), 3));
        dc.DrawLine(s * 3 / 5, s * 3 / 5, s - 3, s - 3);
        break;
      case 33078:
        DrawFolder(dc, 2, 4, s - 4, s - 8);
        break;
      case 33072:  // a "T"
        dc.SetPen(wxPen(wxColour(30, 60, 150), 3));
        dc.DrawLine(4, 5, s - 4, 5);
        dc.DrawLine(s / 2, 5, s / 2, s - 4);
        break;
      case 33071:  // two arrows round a circle
        dc.SetPen(wxPen(wxColour(20, 120, 40), 2));
        dc.DrawArc(s - 5, s / 2, 5, s / 2, s / 2, s / 2);
        dc.DrawArc(5, s / 2, s - 5, s / 2, s / 2, s / 2);
        dc.DrawLine(s - 5, s / 2, s - 8, s / 2 - 3);
        dc.DrawLine(5, s / 2, 8, s / 2 + 3);
        break;
      case 33080:  // a red cross
        dc.SetPen(wxPen(wxColour(190, 30, 30), 3));
        dc.DrawLine(5, 5, s - 5, s - 5);
        dc.DrawLine(s - 5, 5, 5, s - 5);
        break;
      case 33074:
      case 33073:  // a page with a plus or a minus
        DrawPage(dc, 3, 2, s - 9, s - 4, *wxWHITE);
        dc.SetPen(wxPen(command == 33074 ? wxColour(20, 130, 40) : wxColour(190, 30, 30), 3));
        dc.DrawLine(s / 2, s * 3 / 4, s - 2, s * 3 / 4);
        if (command == 33074) dc.DrawLine(s * 3 / 4, s / 2, s * 3 / 4, s - 2);
        break;
      default:  // a page of the web: a globe
        dc.SetPen(wxPen(wxColour(30, 90, 170), 2));
        dc.DrawCircle(s / 2, s / 2, s / 2 - 3);
        dc.DrawEllipse(s / 2 - s / 6, 3, s / 3, s - 6);
        dc.DrawLine(3, s / 2, s - 3, s / 2);
        break;
    }
  });
}

CDatabaseTreeCtrl::CDatabaseTreeCtrl(wxWindow* parent, std::function<void(int)> send,
                                     std::function<void(const GroupSelection&)> openLeaf)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_FULL_ROW_HIGHLIGHT | wxTR_SINGLE),
      send_(std::move(send)),
      openLeaf_(std::move(openLeaf)) {
  auto* images = new wxImageList(kTreeImageSize, kTreeImageSize, true, 5);
  for (int image = kSectionSelected; image <= kSectionImage; ++image) images->Add(TreeImage(image));
  AssignImageList(images);
  SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  Bind(wxEVT_TREE_ITEM_ACTIVATED, &CDatabaseTreeCtrl::OnActivated, this);
  Bind(wxEVT_CONTEXT_MENU, &CDatabaseTreeCtrl::OnContextMenu, this);
  Bind(wxEVT_RIGHT_DOWN, &CDatabaseTreeCtrl::OnRightDown, this);
}

void CDatabaseTreeCtrl::Fill(const std::vector<GroupTreeGroup>& groups) {
  Freeze();
  DeleteAllItems();
  const wxTreeItemId root = AddRoot("Groups");
  for (const GroupTreeGroup& group : groups) AppendGroup(root, group);
  Thaw();
}

void CDatabaseTreeCtrl::AppendGroup(const wxTreeItemId& root, const GroupTreeGroup& group) {
  const wxTreeItemId groupItem = AppendItem(root, wxString::FromUTF8(group.title.c_str()), kGroupImage, kGroupImage,
                                            new GroupItemData({group.index, -1, -1}));
  for (const GroupTreeDocument& document : group.documents) {
    const wxTreeItemId documentItem =
        AppendItem(groupItem, wxString::FromUTF8(document.text.c_str()), kDocumentImage, kDocumentSelected,
                   new GroupItemData({group.index, document.index, -1}));
    for (const GroupTreeSection& section : document.sections) {
      AppendItem(documentItem, wxString::FromUTF8(section.text.c_str()), kSectionImage, kSectionSelected,
                 new GroupItemData({group.index, document.index, section.index}));
    }
  }
}

GroupSelection CDatabaseTreeCtrl::SelectionOf(const wxTreeItemId& item) const {
  if (!item.IsOk()) return {};
  const auto* data = dynamic_cast<const GroupItemData*>(GetItemData(item));
  return data != nullptr ? data->selection : GroupSelection{};
}

GroupSelection CDatabaseTreeCtrl::CurrentSelection() const { return SelectionOf(GetSelection()); }

std::unique_ptr<wxMenu> CDatabaseTreeCtrl::BuildContextMenu() {
  auto menu = std::make_unique<wxMenu>();
  for (size_t i = 0; i < std::size(kMenuTexts); ++i) {
    if (kMenuTexts[i].command == 0) {
      menu->AppendSeparator();
    } else {
      menu->Append(kFirstMenuItem + static_cast<int>(i), wxString::FromUTF8(kMenuTexts[i].tip));
    }
  }
  return menu;
}

int CDatabaseTreeCtrl::CommandOfMenuItem(int id) {
  const int index = id - kFirstMenuItem;
  return index >= 0 && index < static_cast<int>(std::size(kMenuTexts)) ? kMenuTexts[index].command : 0;
}

void CDatabaseTreeCtrl::OnActivated(wxTreeEvent& event) {
  const wxTreeItemId item = event.GetItem();
  const GroupSelection selection = SelectionOf(item);
  // Groups and documents with sections expand and collapse as usual.
  if (!item.IsOk() || ItemHasChildren(item) || selection.document < 0) {
    event.Skip();
    return;
  }
  lastSection = selection.section;
  lastDocument = selection.document;
  RunGuarded([&] { openLeaf_(selection); });
}

void CDatabaseTreeCtrl::OnRightDown(wxMouseEvent& event) {
  wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, GetId(), ClientToScreen(event.GetPosition()));
  menu.SetEventObject(this);
  ProcessWindowEvent(menu);
}

void CDatabaseTreeCtrl::OnContextMenu(wxContextMenuEvent& event) {
  wxPoint point = event.GetPosition() == wxDefaultPosition ? wxGetMousePosition() : event.GetPosition();
  point = ScreenToClient(point);
  int flags = 0;
  const wxTreeItemId item = HitTest(point, flags);
  if (!item.IsOk()) return;
  SelectItem(item);
  const std::unique_ptr<wxMenu> menu = BuildContextMenu();
  const int chosen = CommandOfMenuItem(GetPopupMenuSelectionFromUser(*menu, point));
  if (chosen == 0) return;
  RunGuarded([&] {
    if (const int command = DocumentGroupPane::TreeCommand(chosen); command != 0) send_(command);
  });
}

CDatabaseBar::CDatabaseBar(wxWindow* parent, std::string groupFolder, std::string documentRoot, std::string rootUrl,
                           std::function<void(int)> sendToFrame, DocumentGroupPane::DocumentOpener open)
    : wxPanel(parent), core_(std::move(groupFolder), std::move(documentRoot), std::move(rootUrl)), open_(std::move(open)) {
  core_.SetProgress(&progress_);
  // "Search and build group": the file finder over the document root folder.
  core_.runFileFinder = [this] {
    FileFinder finder;
    finder.documentRoot = core_.Group().documentRoot();
    finder.rootPath = finder.documentRoot;
    finder.Search();
    CFileFinderDlg dialog(this, finder,
                          {core_.GroupFolder(), core_.RootUrl(), [this](const std::string& path) { open_(path); }});
    return dialog.ShowModal() == wxID_OK;
  };
  toolBar_ = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
  toolBar_->SetToolBitmapSize(wxSize(kToolImageSize, kToolImageSize));
  for (const ToolText& tool : kToolTexts) {
    const wxString tip = wxString::FromUTF8(tool.tip);
    toolBar_->AddTool(tool.command, tip, GroupToolBitmap(tool.command, kToolImageSize), tip);
  }
  toolBar_->Realize();
  toolBar_->Bind(wxEVT_TOOL, [sendToFrame](wxCommandEvent& event) { RunGuarded([&] { sendToFrame(event.GetId()); }); });

  tree_ = new CDatabaseTreeCtrl(this, sendToFrame, [this](const GroupSelection& selection) { OpenLeaf(selection); });
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(toolBar_, 0, wxEXPAND);
  sizer->Add(tree_, 1, wxEXPAND);
  SetSizer(sizer);
  RefreshGroups();
}

void CDatabaseBar::ShowTree() { tree_->Fill(core_.Groups()); }

void CDatabaseBar::RefreshGroups() {
  core_.RefreshGroups();
  ShowTree();
}

void CDatabaseBar::OpenLeaf(const GroupSelection& selection) { core_.OpenAtSection(selection, open_); }

bool CDatabaseBar::RunCommand(int id, CVornelTabDoc* active) {
  const GroupSelection selection = tree_->CurrentSelection();
  switch (id) {
    case DocumentGroupPane::kSearchAndBuild:
      core_.SearchAndBuildGroup();
      break;
    case DocumentGroupPane::kReindex: core_.ReindexGroup(selection); break;
    case DocumentGroupPane::kSetTitle: core_.SetGroupTitle(selection); break;
    case DocumentGroupPane::kRemoveDocument: core_.RemoveDocumentFromGroup(selection); break;
    case DocumentGroupPane::kAddCurrentDocument:
      if (active == nullptr) {
        Prompts().Beep(BeepKind::kExclamation);
        return true;
      }
      core_.AddDocumentToGroup(selection, *active);
      break;
    case DocumentGroupPane::kOpenRootFolder: core_.OpenRootFolder(selection); return true;
    case DocumentGroupPane::kExportHtml:
    case DocumentGroupPane::kExportHtmlPage: core_.ExportGroupToHtml(selection); return true;
    case DocumentGroupPane::kDeleteGroup: core_.DeleteGroup(selection); break;
    default: return false;
  }
  ShowTree();
  return true;
}

}  // namespace vornel
