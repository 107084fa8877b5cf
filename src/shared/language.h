// The interface language of a window is held in its two menu items: the item of the active
// language is disabled. Every caption and message picks its text by testing them.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "ui/menu.h"

namespace shared {

enum class Language { None, English, Polish };

// A window's texts in one language: text("File", "Plik") is the English or the Polish wording.
// English also serves when neither language is active.
class Texts {
 public:
  explicit Texts(Language language) : polish_(language == Language::Polish) {}
  std::string operator()(std::string_view english, std::string_view polish) const {
    return std::string(polish_ ? polish : english);
  }

 private:
  bool polish_;
};

class LanguageItems {
 public:
  LanguageItems(ui::MenuItem& english, ui::MenuItem& polish) : english_(english), polish_(polish) {}

  Language Active() const;
  // The active language's text; none when neither item is disabled.
  std::optional<std::string> Pick(std::string_view english, std::string_view polish) const;
  // Disables the chosen language's item and enables the other, in the order the switches use:
  // English disables English1 first, Polish enables English1 first.
  void Activate(Language language);
  // Each item shows its language's flag.
  void ShowFlags();

 private:
  ui::MenuItem& english_;
  ui::MenuItem& polish_;
};

}  // namespace shared
