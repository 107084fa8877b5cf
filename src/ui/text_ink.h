// Where a text's letters really fall once drawn. Wine draws Tahoma at the sizes of its embedded
// bitmaps with those bitmaps, narrower than it measures the text (and its bold at 13 pixels and
// above in the regular weight), so a frame or an underline placed by the measured width runs past
// the letters. On Windows the ink and the measure agree.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

struct TextInk {
  int right = 0;   // one past the last column that a letter touches, from the text's origin
  int pixels = 0;  // how many pixels the letters cover
};

// The text drawn black on white in the font into a scratch bitmap compatible with the DC, with room
// for letters that stand out past the measure; drawn overstruck (below) when asked. Row by row, the
// pixels that a letter touches.
struct InkPicture {
  int width = 0, height = 0;
  std::vector<bool> ink;
};
InkPicture DrawInk(HDC dc, HFONT font, const std::wstring& text, bool overstruck = false);

// The ink of the text so drawn.
TextInk MeasureInk(HDC dc, HFONT font, const std::wstring& text, bool overstruck = false);

// Draws the text in the DC's font as the system makes the bold of a face that has none: each letter
// at the advance that the font measures, then all again one pixel to the right. Placed so, the
// letters keep apart: a bold font's advances are its regular's widened (by a pixel here), while
// this Wine draws Tahoma's bold at 13 pixels and more as the regular letters, at the regular
// bitmaps' narrower advances, where a plain second pass closes the gaps between the letters.
void DrawOverstruck(HDC dc, int x, int y, const std::wstring& text);

}  // namespace ui
