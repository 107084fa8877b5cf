#include "ui/text_ink.h"

#include <algorithm>
#include <vector>

namespace ui {

void DrawOverstruck(HDC dc, int x, int y, const std::wstring& text) {
  if (text.empty()) return;
  int count = static_cast<int>(text.size());
  std::vector<int> ends(text.size()), advances(text.size());
  SIZE size{};
  int fit = 0;
  GetTextExtentExPointW(dc, text.c_str(), count, 0, &fit, ends.data(), &size);
  for (int i = 0; i < count; ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
  for (int dx : {0, 1}) ExtTextOutW(dc, x + dx, y, 0, nullptr, text.c_str(), static_cast<UINT>(count), advances.data());
}

InkPicture DrawInk(HDC dc, HFONT font, const std::wstring& text, bool overstruck) {
  InkPicture picture;
  if (text.empty()) return picture;
  HDC scratch = CreateCompatibleDC(dc);
  HGDIOBJ oldFont = SelectObject(scratch, font);
  SIZE size{};
  GetTextExtentPoint32W(scratch, text.c_str(), static_cast<int>(text.size()), &size);
  // Room for letters that stand out past the measure, as they do where the measure is narrower.
  int width = size.cx * 2 + 16, height = size.cy;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(scratch, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ oldBitmap = SelectObject(scratch, bitmap);
    RECT all{0, 0, width, height};
    FillRect(scratch, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(scratch, RGB(0, 0, 0));
    SetBkMode(scratch, TRANSPARENT);
    if (overstruck)
      DrawOverstruck(scratch, 0, 0, text);
    else
      TextOutW(scratch, 0, 0, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits);
    picture.width = width;
    picture.height = height;
    picture.ink.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture.ink.size(); ++i) picture.ink[i] = (pixel[i] & 0xFFFFFF) != 0xFFFFFF;
    SelectObject(scratch, oldBitmap);
  }
  if (bitmap) DeleteObject(bitmap);
  SelectObject(scratch, oldFont);
  DeleteDC(scratch);
  return picture;
}

TextInk MeasureInk(HDC dc, HFONT font, const std::wstring& text, bool overstruck) {
  InkPicture picture = DrawInk(dc, font, text, overstruck);
  TextInk ink;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (picture.ink[static_cast<size_t>(y) * picture.width + x]) {
        ++ink.pixels;
        ink.right = std::max(ink.right, x + 1);
      }
  return ink;
}

}  // namespace ui
