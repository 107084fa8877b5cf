// The window of the installer and the uninstaller: pages in a white frame beside the logo, the two
// window buttons at the top left, the language button and the wizard buttons along the bottom.
#pragma once
#include <functional>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "shared/language.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/speed_button.h"

namespace shared {

class WizardForm : public ui::Form {
 public:
  explicit WizardForm(std::string name);

  ui::Panel CentralPanel{this, "CentralPanel"};
  ui::Image LogoImage{&CentralPanel, "LogoImage"};
  ui::SpeedButton WindowButton{&CentralPanel, "WindowButton"};
  ui::SpeedButton CloseButton{&CentralPanel, "CloseButton"};
  ui::Panel ClientPanel{&CentralPanel, "ClientPanel"};
  ui::Panel ClientFramePanel{&ClientPanel, "ClientFramePanel"};
  ui::Panel Panel1{&ClientFramePanel, "Panel1"};
  ui::Panel BottomPanel{this, "BottomPanel"};
  ui::SpeedButton LangButton{&BottomPanel, "LangButton"};
  ui::Panel RightButtonsPanel{&BottomPanel, "RightButtonsPanel"};
  ui::SpeedButton NextButton{&RightButtonsPanel, "NextButton"};
  ui::SpeedButton CancelButton{&RightButtonsPanel, "CancelButton"};
  ui::PopupMenu PopupMenu1{this, "PopupMenu1"};
  ui::MenuItem Polski1{&PopupMenu1, "Polski1", "Polski"};
  ui::MenuItem English1{&PopupMenu1, "English1", "English"};
  LanguageItems Lang{English1, Polski1};

  // Drops the language menu above the button bar.
  void LangButtonClick(ui::Object* Sender);
  // Full screen (no border, maximised) and back (single border, restored).
  void WindowButtonClick(ui::Object* Sender);
  void CancelButtonClick(ui::Object* Sender);
  void CloseButtonClick(ui::Object* Sender);

 protected:
  // A page of the frame: white, lowered inner bevel, black text; every page fills the frame.
  void SetUpPage(ui::Panel& page, bool visible);
  // Replaces the control's caption by the second text of the first pair whose first text it
  // equals, letter case included; any other caption stays.
  static void MapCaption(ui::Control& control,
                         std::initializer_list<std::pair<std::string_view, std::string_view>> pairs);
  // The first steps of a language switch, the same in both wizards: the menu items, the wizard
  // buttons' captions (the last page's button named by its two texts), the language button, the
  // window caption and the window buttons' hints.
  void SwitchChrome(Language language, std::string_view lastStepEnglish,
                    std::string_view lastStepPolish, std::string_view captionEnglish,
                    std::string_view captionPolish);
  // The close question in the active language; without one the window may close.
  void AskToClose(bool& canClose, std::string_view english, std::string_view polish);
  // Runs the wizard's work (installing, removing) unless it already runs: the work processes the
  // window's messages as it goes, so a second press of its button would otherwise run all of it
  // again inside the first. A press after the work has ended runs it again.
  void RunOnce(const std::function<void()>& work);

 private:
  bool working_ = false;
};

}  // namespace shared
