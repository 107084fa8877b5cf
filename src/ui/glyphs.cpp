#include "ui/glyphs.h"

#include <algorithm>

#include "platform/text.h"
#include "ui/control.h"

namespace ui::glyphs {
namespace {

struct Pen {
  Pen(HDC dc, Color c, int width) : dc(dc), pen(CreatePen(PS_SOLID, width, Resolve(c))) {
    old = SelectObject(dc, pen);
  }
  ~Pen() {
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  HDC dc;
  HPEN pen;
  HGDIOBJ old;
};

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// The largest centred square inside the area, less a margin.
RECT Square(const RECT& r, int margin) {
  int side = std::min(r.right - r.left, r.bottom - r.top) - 2 * margin;
  int x = r.left + (r.right - r.left - side) / 2, y = r.top + (r.bottom - r.top - side) / 2;
  return {x, y, x + side, y + side};
}

// A 16 x 16 grid over the largest centred square of the area, for the menu pictures.
struct Grid {
  explicit Grid(const RECT& r) : s(Square(r, 0)) {}
  int X(int u) const { return s.left + (s.right - s.left) * u / 16; }
  int Y(int u) const { return s.top + (s.bottom - s.top) * u / 16; }
  RECT Rect(int l, int t, int r, int b) const { return {X(l), Y(t), X(r), Y(b)}; }
  POINT At(int x, int y) const { return {X(x), Y(y)}; }
  RECT s;
};

// Draws a filled shape with an outline; the brush is the library's cached one.
struct Paint {
  Paint(HDC dc, Color fill, Color outline, int width = 1) : dc(dc), pen(dc, outline, width) {
    oldBrush = SelectObject(dc, fill == kNone ? GetStockObject(NULL_BRUSH) : BrushFor(fill));
  }
  ~Paint() { SelectObject(dc, oldBrush); }
  static constexpr Color kNone = 0xFFFFFFFF;
  HDC dc;
  Pen pen;
  HGDIOBJ oldBrush;
};

void Box(HDC dc, const RECT& r, Color fill, Color outline) {
  Paint paint(dc, fill, outline);
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void Fill(HDC dc, const RECT& r, Color c) { FillRect(dc, &r, BrushFor(c)); }

void Triangle(HDC dc, Color c, POINT a, POINT b, POINT d) {
  Paint paint(dc, c, c);
  POINT pts[3] = {a, b, d};
  Polygon(dc, pts, 3);
}

}  // namespace

Picture Close(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    Pen pen(dc, c, std::max(1, Scale(2) / 2 + 1));
    Line(dc, s.left, s.top, s.right, s.bottom);
    Line(dc, s.left, s.bottom, s.right, s.top);
  };
}

Picture FullScreen(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(2));
    Box(dc, s, Paint::kNone, c);
    Fill(dc, {s.left, s.top, s.right, s.top + std::max(2, Scale(3))}, c);
  };
}

Picture MainMenu(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    int step = (s.bottom - s.top) / 3;
    for (int i = 0; i < 3; ++i) {
      int top = s.top + i * step + step / 3;
      Fill(dc, {s.left, top, s.right, top + std::max(1, step / 2)}, c);
    }
  };
}

Picture DropDown(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(4));
    int mid = (s.left + s.right) / 2, h = (s.right - s.left) / 2;
    int top = (s.top + s.bottom) / 2 - h / 2;
    Triangle(dc, c, {s.left, top}, {s.right, top}, {mid, top + h});
  };
}

Picture Back(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    int mid = (s.top + s.bottom) / 2, w = s.right - s.left;
    Triangle(dc, c, {s.left, mid}, {s.left + w / 2, s.top}, {s.left + w / 2, s.bottom});
    Fill(dc, {s.left + w / 2, mid - w / 6, s.right, mid + w / 6}, c);
  };
}

Picture Enter(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    int mid = (s.top + s.bottom) / 2, w = s.right - s.left;
    Triangle(dc, c, {s.right, mid}, {s.right - w / 2, s.top}, {s.right - w / 2, s.bottom});
    Fill(dc, {s.left, mid - w / 6, s.right - w / 2, mid + w / 6}, c);
  };
}

Picture NewFolder(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    int w = s.right - s.left;
    Paint paint(dc, Paint::kNone, c);
    Rectangle(dc, s.left, s.top + w / 4, s.right, s.bottom);
    Rectangle(dc, s.left, s.top + w / 8, s.left + w / 2, s.top + w / 4 + 1);
    int cx = (s.left + s.right) / 2, cy = (s.top + w / 4 + s.bottom) / 2, a = w / 5;
    Line(dc, cx - a, cy, cx + a + 1, cy);
    Line(dc, cx, cy - a, cx, cy + a + 1);
  };
}

Picture Folder(bool open) {
  // Drawn over the whole area, which need not be square (the rows of a folder list).
  return [open](HDC dc, const RECT& r) {
    const Color edge = RGB(140, 100, 20);
    int w = r.right - r.left, h = r.bottom - r.top;
    Box(dc, {r.left, r.top, r.left + w * 2 / 5, r.top + h / 4 + 1}, RGB(232, 184, 64), edge);
    Box(dc, {r.left, r.top + h / 4, r.right, r.bottom}, open ? RGB(255, 226, 140) : RGB(232, 184, 64), edge);
  };
}

Picture Tree() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color line = RGB(90, 90, 90), node = RGB(232, 184, 64), edge = RGB(140, 100, 20);
    {
      Pen pen(dc, line, 1);
      Line(dc, g.X(4), g.Y(5), g.X(4), g.Y(13));
      Line(dc, g.X(4), g.Y(8), g.X(8), g.Y(8));
      Line(dc, g.X(4), g.Y(13), g.X(8), g.Y(13));
    }
    Box(dc, g.Rect(1, 1, 7, 5), node, edge);
    Box(dc, g.Rect(8, 6, 14, 10), node, edge);
    Box(dc, g.Rect(8, 11, 14, 15), node, edge);
  };
}

Picture ViewStyles() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color tile = RGB(90, 140, 220), edge = RGB(30, 60, 130);
    for (int x : {1, 9})
      for (int y : {1, 9}) Box(dc, g.Rect(x, y, x + 6, y + 6), tile, edge);
  };
}

Picture Book() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    Box(dc, g.Rect(10, 2, 14, 15), RGB(250, 246, 230), RGB(120, 110, 90));  // the pages
    Box(dc, g.Rect(2, 1, 12, 15), RGB(150, 30, 40), RGB(80, 10, 20));       // the cover
    Box(dc, g.Rect(4, 4, 10, 6), RGB(201, 162, 39), RGB(201, 162, 39));     // the title
  };
}

Picture SpeechBubble() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color fill = RGB(200, 225, 255), edge = RGB(30, 60, 130);
    Paint paint(dc, fill, edge);
    POINT tail[3] = {g.At(4, 10), g.At(8, 10), g.At(3, 15)};
    Polygon(dc, tail, 3);
    RoundRect(dc, g.X(1), g.Y(1), g.X(15), g.Y(11), g.X(5) - g.X(0), g.Y(5) - g.Y(0));
    for (int x : {4, 8, 12}) Fill(dc, g.Rect(x - 1, 5, x + 1, 7), edge);
  };
}

Picture Download() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color green = RGB(40, 150, 60);
    Fill(dc, g.Rect(6, 1, 10, 7), green);
    Triangle(dc, green, g.At(3, 7), g.At(13, 7), g.At(8, 12));
    Pen pen(dc, RGB(90, 90, 90), std::max(1, Scale(2)));
    MoveToEx(dc, g.X(1), g.Y(10), nullptr);
    LineTo(dc, g.X(1), g.Y(15) - 1);
    LineTo(dc, g.X(15) - 1, g.Y(15) - 1);
    LineTo(dc, g.X(15) - 1, g.Y(10));
  };
}

Picture Globe() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color sea = RGB(70, 130, 220), line = RGB(220, 235, 255);
    {
      Paint paint(dc, sea, RGB(20, 50, 120));
      Ellipse(dc, g.X(1), g.Y(1), g.X(15), g.Y(15));
    }
    Paint paint(dc, Paint::kNone, line);
    Ellipse(dc, g.X(5), g.Y(1), g.X(11), g.Y(15));
    Line(dc, g.X(1), g.Y(8), g.X(15), g.Y(8));
    Line(dc, g.X(8), g.Y(1), g.X(8), g.Y(15));
  };
}

Picture Servers() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    for (int top : {1, 6, 11}) {
      Box(dc, g.Rect(2, top, 14, top + 4), RGB(170, 175, 185), RGB(60, 65, 75));
      Fill(dc, g.Rect(10, top + 1, 12, top + 3), RGB(40, 200, 60));
    }
  };
}

Picture Archive() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color edge = RGB(90, 55, 20);
    Box(dc, g.Rect(2, 5, 14, 15), RGB(200, 140, 70), edge);
    Box(dc, g.Rect(1, 2, 15, 6), RGB(170, 110, 50), edge);
    Box(dc, g.Rect(6, 8, 10, 10), RGB(90, 55, 20), edge);
  };
}

Picture Lifebuoy() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const int ring = std::max(2, (g.X(4) - g.X(0)));
    {
      Paint paint(dc, Paint::kNone, RGB(220, 40, 40), ring);
      Ellipse(dc, g.X(3), g.Y(3), g.X(13), g.Y(13));
    }
    // Four white bands across the ring.
    Pen pen(dc, kWhite, std::max(1, Scale(2)));
    Line(dc, g.X(3), g.Y(3), g.X(5), g.Y(5));
    Line(dc, g.X(13), g.Y(3), g.X(11), g.Y(5));
    Line(dc, g.X(3), g.Y(13), g.X(5), g.Y(11));
    Line(dc, g.X(13), g.Y(13), g.X(11), g.Y(11));
  };
}

Picture Pennant() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    Triangle(dc, RGB(230, 150, 20), g.At(4, 2), g.At(15, 5), g.At(4, 9));
    Fill(dc, g.Rect(2, 1, 4, 16), RGB(90, 90, 90));
  };
}

Picture Monitor() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color frame = RGB(60, 65, 75);
    Box(dc, g.Rect(5, 11, 11, 13), frame, frame);
    Box(dc, g.Rect(3, 13, 13, 15), frame, frame);
    Box(dc, g.Rect(1, 2, 15, 12), RGB(140, 200, 240), frame);
    Fill(dc, g.Rect(7, 6, 9, 8), RGB(40, 150, 60));
  };
}

Picture Plus() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color green = RGB(40, 150, 60);
    Fill(dc, g.Rect(5, 0, 11, 16), green);
    Fill(dc, g.Rect(0, 5, 16, 11), green);
  };
}

Picture Disc() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    {
      Paint paint(dc, RGB(200, 205, 215), RGB(70, 75, 90));
      Ellipse(dc, g.X(1), g.Y(1), g.X(15), g.Y(15));
    }
    Paint paint(dc, kWhite, RGB(70, 75, 90));
    Ellipse(dc, g.X(6), g.Y(6), g.X(10), g.Y(10));
  };
}

Picture Person() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    Paint paint(dc, RGB(90, 140, 220), RGB(30, 60, 130));
    Ellipse(dc, g.X(5), g.Y(1), g.X(11), g.Y(7));
    Chord(dc, g.X(2), g.Y(8), g.X(14), g.Y(22), g.X(14), g.Y(15), g.X(2), g.Y(15));
  };
}

Picture Blocks() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    Box(dc, g.Rect(1, 6, 10, 15), RGB(60, 170, 90), RGB(20, 80, 40));
    Box(dc, g.Rect(6, 1, 15, 10), RGB(230, 120, 40), RGB(120, 50, 10));
  };
}

Picture Checks() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    for (int x = 0; x < 4; ++x)
      for (int y = 0; y < 4; ++y)
        Fill(dc, g.Rect(x * 4, y * 4, x * 4 + 4, y * 4 + 4), (x + y) % 2 ? RGB(120, 80, 40) : RGB(230, 200, 140));
  };
}

namespace {

// A round sign with a white mark of two bars (grid units): an exclamation mark, an "i".
Picture RoundSign(Color fill, Color edge, int inset, RECT upper, RECT lower) {
  return [=](HDC dc, const RECT& r) {
    Grid g(r);
    {
      Paint paint(dc, fill, edge);
      Ellipse(dc, g.X(inset), g.Y(inset), g.X(16 - inset), g.Y(16 - inset));
    }
    for (const RECT& bar : {upper, lower}) Fill(dc, g.Rect(bar.left, bar.top, bar.right, bar.bottom), kWhite);
  };
}

}  // namespace

Picture Warning() { return RoundSign(RGB(220, 40, 40), RGB(120, 10, 10), 0, {7, 3, 9, 10}, {7, 11, 9, 13}); }

Picture Badge(Picture base, Picture emblem) {
  return [base = std::move(base), emblem = std::move(emblem)](HDC dc, const RECT& r) {
    Grid g(r);
    base(dc, r);
    emblem(dc, g.Rect(7, 7, 16, 16));
  };
}

Picture Page() {
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    Box(dc, g.Rect(2, 1, 13, 15), kWhite, RGB(90, 90, 90));
    for (int y : {4, 7, 10}) Fill(dc, g.Rect(4, y, 11, y + 1), RGB(120, 120, 120));
  };
}

namespace {

// A flag's field with a thin outline, painted by the given function.
Picture FlagOf(void (*paint)(HDC, const Grid&, const RECT&)) {
  return [paint](HDC dc, const RECT& r) {
    Grid g(r);
    RECT field = g.Rect(1, 3, 15, 13);
    Fill(dc, field, kWhite);
    paint(dc, g, field);
    Paint outline(dc, Paint::kNone, RGB(90, 90, 90));
    Rectangle(dc, field.left, field.top, field.right, field.bottom);
  };
}

}  // namespace

Picture EnglishFlag() {
  return FlagOf([](HDC dc, const Grid& g, const RECT&) {
    Fill(dc, g.Rect(7, 3, 9, 13), RGB(200, 16, 46));
    Fill(dc, g.Rect(1, 7, 15, 9), RGB(200, 16, 46));
  });
}

Picture PolishFlag() {
  return FlagOf([](HDC dc, const Grid&, const RECT& field) {
    Fill(dc, {field.left, (field.top + field.bottom) / 2, field.right, field.bottom}, RGB(220, 20, 60));
  });
}

Picture Information() { return RoundSign(RGB(50, 110, 210), RGB(20, 50, 120), 1, {7, 4, 9, 6}, {7, 7, 9, 12}); }

Picture Emblem() {
  // The logo's shield and tower, in few enough strokes for a menu's picture.
  return [](HDC dc, const RECT& r) {
    Grid g(r);
    const Color gold = RGB(201, 162, 39);
    {
      Paint paint(dc, RGB(70, 82, 104), gold);
      POINT shield[5] = {g.At(1, 0), g.At(15, 0), g.At(15, 9), g.At(8, 16), g.At(1, 9)};
      Polygon(dc, shield, 5);
    }
    Fill(dc, g.Rect(5, 4, 11, 11), gold);
  };
}

Picture Logo() {
  return [](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(6));
    int w = s.right - s.left, h = s.bottom - s.top;
    const Color gold = RGB(201, 162, 39), steel = RGB(70, 82, 104);
    // Shield
    POINT shield[6] = {{s.left, s.top},
                       {s.right, s.top},
                       {s.right, s.top + h * 11 / 20},
                       {s.left + w / 2, s.bottom},
                       {s.left, s.top + h * 11 / 20},
                       {s.left, s.top}};
    {
      Paint paint(dc, steel, gold, std::max(2, Scale(2)));
      Polygon(dc, shield, 5);
    }
    // Tower with battlements
    int tl = s.left + w * 3 / 10, tr = s.right - w * 3 / 10, tt = s.top + h / 4, tb = s.top + h * 3 / 4;
    int merlon = (tr - tl) / 5;
    Box(dc, {tl, tt, tr, tb}, gold, gold);
    for (int i = 0; i < 5; i += 2)
      Box(dc, {tl + i * merlon, tt - merlon, tl + (i + 1) * merlon, tt}, gold, gold);
    int door = (tr - tl) / 3;
    Box(dc, {tl + door, tb - door * 3 / 2, tr - door, tb}, steel, gold);
  };
}

Picture Inset(Picture picture, int left, int top, int right, int bottom) {
  return [=](HDC dc, const RECT& r) {
    RECT inner{r.left + Scale(left), r.top + Scale(top), r.right - Scale(right), r.bottom - Scale(bottom)};
    picture(dc, inner);
  };
}

Picture Banner(std::string title) {
  return [title = std::move(title)](HDC dc, const RECT& r) {
    // A dark band shading from steel blue at the edges to black in the middle.
    int width = r.right - r.left;
    for (int x = 0; x < width; x += 2) {
      int d = std::abs(2 * x - width) * 60 / std::max(1, width);
      Fill(dc, {r.left + x, r.top, r.left + x + 2, r.bottom}, RGB(d / 2, d * 2 / 3, d));
    }
    Fill(dc, {r.left, r.bottom - std::max(1, Scale(2)), r.right, r.bottom}, RGB(201, 162, 39));
    Font f;
    f.name = "Tahoma";
    f.height = -std::max<int>(12, Unscale((r.bottom - r.top) * 2 / 5));
    f.bold = true;
    HGDIOBJ old = SelectObject(dc, FontHandle(f));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(230, 230, 230));
    std::wstring text = platform::Widen(title);
    RECT tr = r;
    DrawTextW(dc, text.c_str(), -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
  };
}

}  // namespace ui::glyphs
