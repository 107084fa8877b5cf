#include "support/screen.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/files.h"
#include "platform/text.h"
#include "support/unix_side.h"
#include "ui/text_ink.h"

namespace testing_support {
namespace {

std::string TempName(const char* extension) {
  static LONG counter = 0;
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return platform::Narrow(folder) + "screen-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(InterlockedIncrement(&counter)) + extension;
}

}  // namespace

bool PhotographScreen(const RECT& r, const std::string& file) {
  std::string target = UnixPath(file);
  if (target.empty() || r.right <= r.left || r.bottom <= r.top) return false;
  std::string crop = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                     std::to_string(r.left) + "+" + std::to_string(r.top);
  std::string format = target.ends_with(".rgb") ? "rgb:" : "";
  return RunUnixCommand("import -window root -crop " + crop + " +repage -depth 8 " + format + "'" + target + "'") &&
         platform::FileExists(file);
}

ScreenPixels::ScreenPixels(const RECT& r) {
  std::string file = TempName(".rgb");
  if (!PhotographScreen(r, file)) return;
  std::ifstream in(platform::Widen(file).c_str(), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  DeleteFileW(platform::Widen(file).c_str());
  int width = r.right - r.left, height = r.bottom - r.top;
  if (bytes.size() != static_cast<size_t>(width) * height * 3) return;
  width_ = width;
  height_ = height;
  pixels_.resize(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[i * 3 + k]); };
    pixels_[i] = RGB(byte(0), byte(1), byte(2));
  }
}

ScreenPixels ScreenPixels::Settled(const RECT& r) {
  ScreenPixels last(r);
  for (int i = 0; i < 50 && !last.Empty(); ++i) {
    Sleep(150);
    ScreenPixels next(r);
    if (next == last) return next;
    last = std::move(next);
  }
  return last;
}

ScreenPixels ScreenPixels::OfText(HFONT font, const std::string& text) {
  HDC screen = GetDC(nullptr);
  ui::InkPicture drawn = ui::DrawInk(screen, font, platform::Widen(text));
  ReleaseDC(nullptr, screen);
  ScreenPixels picture;
  picture.width_ = drawn.width;
  picture.height_ = drawn.height;
  for (bool ink : drawn.ink) picture.pixels_.push_back(ink ? RGB(0, 0, 0) : RGB(255, 255, 255));
  return picture;
}

int ScreenPixels::Count(const RECT& r, COLORREF colour) const {
  int n = 0;
  for (int y = std::max<int>(0, r.top); y < std::min<int>(height_, r.bottom); ++y)
    for (int x = std::max<int>(0, r.left); x < std::min<int>(width_, r.right); ++x)
      if (At(x, y) == colour) ++n;
  return n;
}

bool WaitForColours(const RECT& r, const std::vector<COLORREF>& colours) {
  // Read as Settled reads, without running this thread's messages: a menu of another program is
  // drawn while the mouse's owner keeps still.
  for (int i = 0; i < 20; ++i) {
    ScreenPixels pixels = ScreenPixels::Settled(r);
    RECT all{0, 0, pixels.Width(), pixels.Height()};
    if (!pixels.Empty() && std::all_of(colours.begin(), colours.end(),
                                       [&](COLORREF c) { return pixels.Count(all, c) > 0; }))
      return true;
  }
  return false;
}

bool Dark(COLORREF c) { return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 128000; }

UnderlinedText ReadUnderlinedText(const ScreenPixels& pixels) {
  UnderlinedText text;
  int lineRow = -1, longest = 0;
  for (int y = 0; y < pixels.Height(); ++y) {
    for (int x = 0, run = 0; x < pixels.Width(); ++x) {
      run = Dark(pixels.At(x, y)) ? run + 1 : 0;
      if (run > longest) {
        longest = run;
        lineRow = y;
        text.underlineRight = x;
      }
    }
  }
  for (int y = 0; y < lineRow; ++y)
    for (int x = 0; x < pixels.Width(); ++x)
      if (Dark(pixels.At(x, y))) {
        ++text.textPixels;
        text.textRight = std::max(text.textRight, x);
      }
  text.lineRow = lineRow;
  return text;
}

int InkShapes(const ScreenPixels& pixels, int rows) {
  rows = std::min(rows, pixels.Height());
  const int width = pixels.Width();
  std::vector<bool> seen(static_cast<size_t>(width) * std::max(rows, 0));
  int shapes = 0;
  for (int start = 0; start < width * rows; ++start) {
    if (seen[start] || !Dark(pixels.At(start % width, start / width))) continue;
    ++shapes;
    std::vector<int> open{start};
    seen[start] = true;
    while (!open.empty()) {
      int at = open.back();
      open.pop_back();
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int x = at % width + dx, y = at / width + dy;
          if (x < 0 || y < 0 || x >= width || y >= rows) continue;
          int next = y * width + x;
          if (!seen[next] && Dark(pixels.At(x, y))) {
            seen[next] = true;
            open.push_back(next);
          }
        }
    }
  }
  return shapes;
}

int InkPixelsOf(HFONT font, const std::string& text) {
  HDC screen = GetDC(nullptr);
  int pixels = ui::MeasureInk(screen, font, platform::Widen(text)).pixels;
  ReleaseDC(nullptr, screen);
  return pixels;
}

RECT DifferingArea(const ScreenPixels& a, const ScreenPixels& b) {
  RECT r{a.Width(), a.Height(), 0, 0};
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y),
                                         std::max<LONG>(r.right, x + 1), std::max<LONG>(r.bottom, y + 1)};
  return IsRectEmpty(&r) ? RECT{} : r;
}

RECT OnScreen(HWND window, const RECT& client) {
  RECT r = client;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT ClientOnScreen(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return OnScreen(window, r);
}

}  // namespace testing_support
