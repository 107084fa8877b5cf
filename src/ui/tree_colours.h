// The colours of a tree view's selected node, for trees in the form's own colours.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace ui {

// Answers the tree's NM_CUSTOMDRAW. While the tree has the focus its selected node takes the
// system's highlight; without the focus the system shows the tree's own text on a light grey,
// which leaves white text unreadable, so the node keeps the tree's text colour on a shade between
// the tree's background and its text.
LRESULT SelectedNodeColours(NMTVCUSTOMDRAW& draw, COLORREF back, COLORREF text);

}  // namespace ui
