#include "ui/text_ink.h"

#include <vector>

namespace ui {

TextInk MeasureInk(HDC dc, HFONT font, const std::wstring& text) {
  TextInk ink;
  if (text.empty()) return ink;
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
    TextOutW(scratch, 0, 0, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if ((pixel[y * width + x] & 0xFFFFFF) != 0xFFFFFF) {
          ++ink.pixels;
          if (x + 1 > ink.right) ink.right = x + 1;
        }
    SelectObject(scratch, oldBitmap);
  }
  if (bitmap) DeleteObject(bitmap);
  SelectObject(scratch, oldFont);
  DeleteDC(scratch);
  return ink;
}

}  // namespace ui
