// The real screen as the display shows it. This Wine's BitBlt from the screen gives blank windows,
// so the screen is read on the display's side, with ImageMagick's import.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Photographs a part of the screen (screen pixels) into a picture file, whose extension names its
// format (".png"); false when no picture came.
bool PhotographScreen(const RECT& screenRect, const std::string& file);

// The pixels of a part of the screen.
class ScreenPixels {
 public:
  // Reads the part of the screen once; Empty() when it could not be read.
  explicit ScreenPixels(const RECT& screenRect);
  // Reads it until two readings in a row agree, so that what the program was still painting is
  // finished.
  static ScreenPixels Settled(const RECT& screenRect);
  // A text drawn black on white in the font by this process, as a picture of its own.
  static ScreenPixels OfText(HFONT font, const std::string& text);

  bool Empty() const { return pixels_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Relative to the part's top-left corner.
  COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // How many pixels of the rectangle (relative to the part) have exactly this colour.
  int Count(const RECT& r, COLORREF colour) const;
  bool operator==(const ScreenPixels& other) const = default;

 private:
  ScreenPixels() = default;
  int width_ = 0, height_ = 0;
  std::vector<COLORREF> pixels_;
};

// The smallest rectangle that holds every pixel in which two pictures of one size differ (empty
// when none does).
RECT DifferingArea(const ScreenPixels& a, const ScreenPixels& b);

// Waits until the part of the screen shows every one of the colours (a menu draws its items'
// pictures after the items); false when one never came.
bool WaitForColours(const RECT& screenRect, const std::vector<COLORREF>& colours);

// Text's ink on a light ground: darker than half.
bool Dark(COLORREF c);

// An underlined one-line text as a picture shows it: where its letters end, where its underline
// (the row with the longest run of ink) ends, and how many pixels the letters above it cover.
struct UnderlinedText {
  int textRight = -1;
  int underlineRight = -1;
  int textPixels = 0;
  int lineRow = -1;
};
UnderlinedText ReadUnderlinedText(const ScreenPixels& pixels);

// How many separate shapes the ink of the part's rows above `rows` makes, a pixel touching another
// also at a corner: letters that run together count as one.
int InkShapes(const ScreenPixels& pixels, int rows);

// The dark pixels of a text drawn in the font by this process, for comparison with the screen.
int InkPixelsOf(HFONT font, const std::string& text);

// A rectangle of a window's client area (client pixels) in screen pixels.
RECT OnScreen(HWND window, const RECT& client);
// A window's client area in screen pixels.
RECT ClientOnScreen(HWND window);

}  // namespace testing_support
