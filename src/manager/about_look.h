// What the two about dialogs share: their fonts and the team's contact address.
#pragma once
#include "ui/types.h"

namespace manager {

inline constexpr char kTeamAddress[] = "team@th.example";

// The title above the details: Tahoma, bold italic.
inline ui::Font AboutTitleFont(int height) {
  return {.name = "Tahoma", .height = -height, .bold = true, .italic = true, .color = ui::kWhite};
}

// The captions beside the details: Tahoma of the window font's size.
inline ui::Font AboutCaptionFont(bool bold) {
  return {.name = "Tahoma", .height = -11, .bold = bold, .color = ui::kWhite};
}

}  // namespace manager
