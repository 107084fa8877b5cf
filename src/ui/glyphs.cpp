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

void Triangle(HDC dc, Color c, POINT a, POINT b, POINT d) {
  HBRUSH brush = BrushFor(c);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  Pen pen(dc, c, 1);
  POINT pts[3] = {a, b, d};
  Polygon(dc, pts, 3);
  SelectObject(dc, oldBrush);
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
    Pen pen(dc, c, 1);
    HGDIOBJ old = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, s.left, s.top, s.right, s.bottom);
    SelectObject(dc, old);
    RECT bar{s.left, s.top, s.right, s.top + std::max(2, Scale(3))};
    FillRect(dc, &bar, BrushFor(c));
  };
}

Picture MainMenu(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    int step = (s.bottom - s.top) / 3;
    for (int i = 0; i < 3; ++i) {
      RECT bar{s.left, s.top + i * step + step / 3, s.right, s.top + i * step + step / 3 + std::max(1, step / 2)};
      FillRect(dc, &bar, BrushFor(c));
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
    RECT shaft{s.left + w / 2, mid - w / 6, s.right, mid + w / 6};
    FillRect(dc, &shaft, BrushFor(c));
  };
}

Picture Enter(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    int mid = (s.top + s.bottom) / 2, w = s.right - s.left;
    Triangle(dc, c, {s.right, mid}, {s.right - w / 2, s.top}, {s.right - w / 2, s.bottom});
    RECT shaft{s.left, mid - w / 6, s.right - w / 2, mid + w / 6};
    FillRect(dc, &shaft, BrushFor(c));
  };
}

Picture NewFolder(Color c) {
  return [c](HDC dc, const RECT& r) {
    RECT s = Square(r, Scale(3));
    int w = s.right - s.left;
    Pen pen(dc, c, 1);
    HGDIOBJ old = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, s.left, s.top + w / 4, s.right, s.bottom);
    Rectangle(dc, s.left, s.top + w / 8, s.left + w / 2, s.top + w / 4 + 1);
    SelectObject(dc, old);
    int cx = (s.left + s.right) / 2, cy = (s.top + w / 4 + s.bottom) / 2, a = w / 5;
    Line(dc, cx - a, cy, cx + a + 1, cy);
    Line(dc, cx, cy - a, cx, cy + a + 1);
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
    HGDIOBJ oldBrush = SelectObject(dc, BrushFor(steel));
    {
      Pen pen(dc, gold, std::max(2, Scale(2)));
      Polygon(dc, shield, 5);
    }
    // Tower with battlements
    SelectObject(dc, BrushFor(gold));
    Pen pen(dc, gold, 1);
    int tl = s.left + w * 3 / 10, tr = s.right - w * 3 / 10, tt = s.top + h / 4, tb = s.top + h * 3 / 4;
    Rectangle(dc, tl, tt, tr, tb);
    int merlon = (tr - tl) / 5;
    for (int i = 0; i < 5; i += 2) Rectangle(dc, tl + i * merlon, tt - merlon, tl + (i + 1) * merlon, tt);
    SelectObject(dc, BrushFor(steel));
    int door = (tr - tl) / 3;
    Rectangle(dc, tl + door, tb - door * 3 / 2, tr - door, tb);
    SelectObject(dc, oldBrush);
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
      RECT strip{r.left + x, r.top, r.left + x + 2, r.bottom};
      FillRect(dc, &strip, BrushFor(RGB(d / 2, d * 2 / 3, d)));
    }
    RECT line{r.left, r.bottom - std::max(1, Scale(2)), r.right, r.bottom};
    FillRect(dc, &line, BrushFor(RGB(201, 162, 39)));
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
