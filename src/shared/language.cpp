#include "shared/language.h"

#include "ui/glyphs.h"

namespace shared {

Language LanguageItems::Active() const {
  if (!polish_.Enabled()) return Language::Polish;
  if (!english_.Enabled()) return Language::English;
  return Language::None;
}

std::optional<std::string> LanguageItems::Pick(std::string_view english,
                                               std::string_view polish) const {
  switch (Active()) {
    case Language::English:
      return std::string(english);
    case Language::Polish:
      return std::string(polish);
    case Language::None:
      break;
  }
  return std::nullopt;
}

void LanguageItems::Activate(Language language) {
  if (language == Language::English) {
    english_.SetEnabled(false);
    polish_.SetEnabled(true);
  } else if (language == Language::Polish) {
    english_.SetEnabled(true);
    polish_.SetEnabled(false);
  }
}

void LanguageItems::ShowFlags() {
  english_.SetPicture(ui::glyphs::EnglishFlag());
  polish_.SetPicture(ui::glyphs::PolishFlag());
}

}  // namespace shared
