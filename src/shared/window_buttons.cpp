#include "shared/window_buttons.h"

#include "ui/glyphs.h"

namespace shared {

void SetUpGlyphButton(ui::SpeedButton& button, int left, int top, ui::Picture glyph,
                      const std::string& hint) {
  button.SetBounds(left, top, 15, 15);
  button.SetFlat(true);
  button.SetGlyph(std::move(glyph), 15);
  button.SetHint(hint);
  button.SetShowHint(true);
}

void SetUpWindowButtons(ui::SpeedButton& windowButton, ui::SpeedButton& closeButton,
                        const std::string& windowHint) {
  SetUpGlyphButton(windowButton, 2, 4, ui::glyphs::FullScreen(), windowHint);
  SetUpGlyphButton(closeButton, 18, 4, ui::glyphs::Close(), "Close");
}

}  // namespace shared
