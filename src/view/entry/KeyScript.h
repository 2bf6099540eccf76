#pragma once
// Replays a script of key events and commands on a score view, as the window would hand
// them over, one per line: "key Shift+Enter" (the key goes down, typing its character when
// the view does not take it, then up), "char 3" or "char space" (the key of a US keyboard
// that types the character, pressed the same way), "cmd 32845 [value]" (a command id through the view's table), "answer yes|no|ok|
// cancel" (queued for the next question), "#" comments and blank lines. The page is drawn on
// a recording device before the first line and after each, as the window repaints, so that
// staves and columns have their places.

#include <string>
#include <string_view>

namespace vornel::view {

class CBriotabView;

// False, with the line's number and text in `error`, for a line it cannot read (a command
// id the view does not carry among them).
bool ReplayKeyScript(CBriotabView& view, std::string_view script, std::string* error = nullptr);

}  // namespace vornel::view
