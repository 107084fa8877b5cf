// The small flat buttons at the top left of every window of the suite.
#pragma once
#include <string>

#include "ui/speed_button.h"

namespace shared {

// A 15 x 15 flat glyph button with its hint as a tooltip.
void SetUpGlyphButton(ui::SpeedButton& button, int left, int top, ui::Picture glyph,
                      const std::string& hint);
// Full screen/window at (2, 4) and close at (18, 4).
void SetUpWindowButtons(ui::SpeedButton& windowButton, ui::SpeedButton& closeButton,
                        const std::string& windowHint);

}  // namespace shared
