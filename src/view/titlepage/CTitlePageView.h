#pragma once
// The title-page view without a window: the document shown as its title page, the second view
// of a document beside its score. It draws the paper with the title page and the metadata
// texts through the page drawing, lets the user drag the texts and the formatted title (a
// tracker rectangle follows the pointer while the button is held; the text takes its new place
// when it is let go), opens the editor of what a double click lands on, and carries the title
// page's commands: 33178 centres every element across the page, 34076 adds a picture, 34078
// takes a frame style from the ribbon's gallery. "Title page settings" (32970) and "Print all
// sections" (33520) are the document's commands, reached through the routing.
//
// Points arrive as client points of the window; elements are kept in the page's logical
// pixels (client + scroll position), where the drawing put them.
//
//   CTitlePageView view(doc, window);
//   view.OnInitialUpdate();
//   view.OnLButtonDown(e); view.OnMouseMove(e); view.OnLButtonUp(e);  // a drag
//   view.OnPrepareDC(dc); view.OnDraw(dc); view.DrawOverlays(dc);    // a paint

#include <cstddef>
#include <optional>
#include <vector>

#include "document/CBriotabDoc.h"
#include "platform/draw/DeviceContext.h"
#include "view/commands/CommandTable.h"
#include "view/core/MSJSuperView.h"
#include "view/core/ViewWindow.h"

namespace vornel {
class CTrackText;
}

namespace vornel::view {

inline constexpr int kEditTitlePageCommand = 32966;
inline constexpr int kCenterTitleElementsCommand = 33178;
inline constexpr int kAddTitlePageImageCommand = 34076;
inline constexpr int kTitlePageFrameCommand = 34078;

class CTitlePageView : public MSJSuperView, private DocumentObserver {
 public:
  // What the last drawing put on the page, in the order a click tries them.
  struct Element {
    enum class Kind {
      kDocumentText,    // a metadata text of the document settings (index in their stack)
      kTitlePageText,   // the title, author or publisher of the title page (index in its stack)
      kFormattedTitle,
      kPicture,         // edited by a double click, never dragged
    };
    Kind kind = Kind::kDocumentText;
    size_t index = 0;
    Rect rect;  // logical
    bool operator==(const Element&) const = default;
  };

  CTitlePageView(CBriotabDoc& doc, ViewWindow& window);
  ~CTitlePageView() override;
  CTitlePageView(const CTitlePageView&) = delete;
  CTitlePageView& operator=(const CTitlePageView&) = delete;

  CBriotabDoc& Document() { return doc_; }
  CommandTable& Commands() { return commands_; }
  const CommandTable& Commands() const { return commands_; }

  // The scrollable size: the paper at the window's resolution and the page zoom, with 200
  // pixels of room beside it and 100 below.
  void OnInitialUpdate();
  void UpdateScrollSizes();

  // Draws the title page on a device the view prepared (OnPrepareDC) and keeps what it put
  // where. The page settings' screen rectangles are the score view's: they are put back after.
  void OnDraw(DeviceContext& dc);
  // The tracker of a drag in progress (what the window shows when it paints during a drag).
  void DrawOverlays(DeviceContext& dc) const;
  // The bounds of the last drawing: the title page's frame moved to the left edge 0.
  const Rect& LastDrawing() const { return lastDrawing_; }
  const std::vector<Element>& Elements() const { return elements_; }
  // The element at a client point, in the order a click tries them; the picture only when
  // asked for.
  std::optional<Element> ElementAt(Point client, bool withPicture) const;

  // --- dragging: the tracker follows the pointer, the element moves when the button is let go
  // Starts a drag on the text under the point; true when one was hit.
  bool OnLButtonDown(const MouseEvent& event);
  void OnMouseMove(const MouseEvent& event);
  // Ends a drag: true when the element moved (the document is then changed and redrawn).
  bool OnLButtonUp(const MouseEvent& event);
  // Forgets a drag (capture lost, Escape): nothing moves.
  void CancelDrag();
  bool Dragging() const { return drag_.has_value(); }
  // Where the tracker stands now (client), while dragging.
  std::optional<Rect> TrackerRect() const;

  // A double click: the settings of a metadata text, else the editor of the title page's
  // element (its text settings, a new picture file, the rich-text editor). True when an editor
  // was opened; OK changes the document.
  bool OnLButtonDblClk(const MouseEvent& event);

  // --- the commands
  // Centres the title-page texts, the formatted title and the picture between the bounds of
  // the last drawing.
  void CenterAllElements();
  // Asks for an image file and makes it the title page's picture, scaled to 90 % of the frame's
  // width when it is wider, then centres everything. False when no file was chosen.
  bool AddTitlePageImage();
  // The frame style: the gallery item the event carries, else the one chosen last.
  void SetFrameStyle(std::optional<long> galleryItem);

 private:
  struct Drag {
    Element element;
    Point start;   // logical
    Point now;     // logical
  };

  void OnUpdate(const CBriotabDoc& doc, int hint, const CStaveArray* system) override;
  void AddCommands();
  CTrackText* TextOf(const Element& element);
  void CollectElements();
  // Moves an element's text by a device offset; the position is kept at zoom 100.
  void MoveElement(const Element& element, Point offset);

  CBriotabDoc& doc_;
  CommandTable commands_;
  Rect lastDrawing_;
  std::vector<Element> elements_;
  std::optional<Drag> drag_;
  long lastFrameItem_ = 0;
};

}  // namespace vornel::view
