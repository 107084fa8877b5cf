// Small value types of the form library.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// Anything that raises events: controls, menu items, non-visual components.
class Object {
 public:
  explicit Object(std::string name = {}) : name_(std::move(name)) {}
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

using NotifyEvent = std::function<void(Object* sender)>;
using CloseQueryEvent = std::function<void(Object* sender, bool& canClose)>;
enum class CloseAction { None, Hide, Free };
using CloseEvent = std::function<void(Object* sender, CloseAction& action)>;
// A typed character; set it to 0 to refuse it.
using KeyPressEvent = std::function<void(Object* sender, wchar_t& key)>;

enum class Align { None, Top, Bottom, Left, Right, Client };
enum class Cursor { Default, Hand, Help, Drag };
enum class Bevel { None, Raised, Lowered };

using Color = COLORREF;
constexpr Color kBlack = RGB(0, 0, 0);
constexpr Color kWhite = RGB(255, 255, 255);
constexpr Color kRed = RGB(255, 0, 0);
// The system's face colour for windows and buttons.
constexpr Color kButtonFace = 0xFF000000 | COLOR_BTNFACE;
constexpr Color kWindow = 0xFF000000 | COLOR_WINDOW;
Color Resolve(Color c);  // system colours to RGB

struct Font {
  std::string name = "MS Sans Serif";
  int height = -11;  // pixels at 96 dpi; negative: character height
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Color color = kBlack;
  bool operator==(const Font&) const = default;
};

// A picture drawn in code into the given rectangle (glyphs, logos, banners).
using Picture = std::function<void(HDC dc, const RECT& area)>;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

}  // namespace ui
