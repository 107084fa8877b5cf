#include "support/title_look.h"

#include "support/screen.h"
#include "ui/control.h"

namespace testing_support {

testing::AssertionResult ShowsBoldUnderlined(HWND label, const std::string& text, const ui::Font& regular) {
  ScreenPixels shown = ScreenPixels::Settled(ClientOnScreen(label));
  UnderlinedText title = ReadUnderlinedText(shown);
  if (title.textRight <= 0) return testing::AssertionFailure() << "no letters above an underline";
  HFONT font = ui::FontHandle(regular);
  int regularPixels = InkPixelsOf(font, text);
  int shapes = InkShapes(shown, title.lineRow);
  int regularShapes = InkShapes(ScreenPixels::OfText(font, text), title.lineRow);
  std::string faults;
  if (title.textPixels * 100 < regularPixels * 125)
    faults += std::to_string(title.textPixels) + " pixels of ink, the regular weight " +
              std::to_string(regularPixels) + "; ";
  if (shapes != regularShapes)
    faults += std::to_string(shapes) + " separate letter shapes, the regular weight " +
              std::to_string(regularShapes) + "; ";
  if (title.underlineRight < title.textRight - 1 || title.underlineRight > title.textRight + 2)
    faults += "the underline ends at " + std::to_string(title.underlineRight) + ", the letters at " +
              std::to_string(title.textRight);
  if (faults.empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << faults;
}

}  // namespace testing_support
