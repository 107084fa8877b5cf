// Where a text's letters really fall once drawn. Wine draws Tahoma at the sizes of its embedded
// bitmaps with those bitmaps, narrower than it measures the text (and its bold at 13 pixels and
// above in the regular weight), so a frame or an underline placed by the measured width runs past
// the letters. On Windows the ink and the measure agree.
#pragma once
#include <windows.h>

#include <string>

namespace ui {

struct TextInk {
  int right = 0;   // one past the last column that a letter touches, from the text's origin
  int pixels = 0;  // how many pixels the letters cover
};

// Draws the text in the font into a scratch bitmap compatible with the DC and reads its ink.
TextInk MeasureInk(HDC dc, HFONT font, const std::wstring& text);

}  // namespace ui
