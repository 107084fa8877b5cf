#include "shared/wizard_form.h"

#include "shared/window_buttons.h"
#include "ui/dialogs.h"
#include "ui/glyphs.h"

namespace shared {

WizardForm::WizardForm(std::string name) : Form(std::move(name)) {
  SetClientSize(634, 455);
  SetBorderStyle(ui::BorderStyle::Single);
  SetBorderIcons(true, false);
  ui::Font font;
  font.name = "Tahoma";
  SetFont(font);

  BottomPanel.Dock(ui::Align::Bottom, 37);
  BottomPanel.SetColor(ui::kButtonFace);
  CentralPanel.SetAlign(ui::Align::Client);
  CentralPanel.SetColor(ui::kBlack);
  CentralPanel.SetBevels(ui::Bevel::Lowered, ui::Bevel::None);
  CentralPanel.SetPadding(1);

  LogoImage.Dock(ui::Align::Left, 175);
  LogoImage.SetPicture(ui::glyphs::Logo());

  SetUpWindowButtons(WindowButton, CloseButton, "Full Screen/Window");

  ClientPanel.SetAlign(ui::Align::Client);
  ClientPanel.SetPadding(10);
  ClientFramePanel.SetAlign(ui::Align::Client);
  SetUpPage(Panel1, true);

  LangButton.SetBounds(8, 6, 90, 25);
  LangButton.SetCaption("English");
  LangButton.SetGlyph(ui::glyphs::DropDown(), 12, true);
  RightButtonsPanel.Dock(ui::Align::Right, 170);
  NextButton.SetBounds(8, 6, 75, 25);
  NextButton.SetCaption("Next >");
  CancelButton.SetBounds(89, 6, 75, 25);
  CancelButton.SetCaption("Cancel");

  English1.SetEnabled(false);

  LangButton.OnClick = [this](ui::Object* s) { LangButtonClick(s); };
  WindowButton.OnClick = [this](ui::Object* s) { WindowButtonClick(s); };
  CloseButton.OnClick = [this](ui::Object* s) { CloseButtonClick(s); };
  CancelButton.OnClick = [this](ui::Object* s) { CancelButtonClick(s); };
}

void WizardForm::SetUpPage(ui::Panel& page, bool visible) {
  page.SetAlign(ui::Align::Client);
  page.SetColor(ui::kWhite);
  page.SetBevels(ui::Bevel::None, ui::Bevel::Lowered);
  page.SetFontColor(ui::kBlack);
  page.SetVisible(visible);
}

void WizardForm::MapCaption(
    ui::Control& control, std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
  for (const auto& [from, to] : pairs) {
    if (control.Caption() == from) {
      control.SetCaption(std::string(to));
      return;
    }
  }
}

void WizardForm::LangButtonClick(ui::Object*) {
  ui::Point at{LangButton.Left(), CentralPanel.Height() - BottomPanel.Height() - LangButton.Top()};
  PopupMenu1.Popup(ClientToScreen(at));
}

void WizardForm::WindowButtonClick(ui::Object*) {
  if (GetBorderStyle() == ui::BorderStyle::None) {
    SetBorderStyle(ui::BorderStyle::Single);
    ShowCommand(SW_RESTORE);
  } else if (GetBorderStyle() == ui::BorderStyle::Single) {
    SetBorderStyle(ui::BorderStyle::None);
    ShowCommand(SW_SHOWMAXIMIZED);
  }
}

void WizardForm::CancelButtonClick(ui::Object*) { Close(); }

void WizardForm::CloseButtonClick(ui::Object*) { Close(); }

void WizardForm::SwitchChrome(Language language, std::string_view lastStepEnglish,
                              std::string_view lastStepPolish, std::string_view captionEnglish,
                              std::string_view captionPolish) {
  bool polish = language == Language::Polish;
  Lang.Activate(language);
  if (polish) {
    MapCaption(NextButton, {{"Next >", "Dalej >"}, {lastStepEnglish, lastStepPolish}});
    MapCaption(CancelButton, {{"Cancel", "Anuluj"}, {"Finish", "Skończ"}});
  } else {
    MapCaption(NextButton, {{"Dalej >", "Next >"}, {lastStepPolish, lastStepEnglish}});
    MapCaption(CancelButton, {{"Anuluj", "Cancel"}, {"Skończ", "Finish"}});
  }
  const Texts text(language);
  LangButton.SetCaption(text("English", "Polski"));
  SetCaption(text(captionEnglish, captionPolish));
  WindowButton.SetHint(text("Full screen/Window", "Pełen ekran/Okno"));
  CloseButton.SetHint(text("Close", "Zamknij"));
}

void WizardForm::AskToClose(bool& canClose, std::string_view english, std::string_view polish) {
  if (auto question = Lang.Pick(english, polish)) canClose = ui::Confirm(*question);
}

void WizardForm::RunOnce(const std::function<void()>& work) {
  if (working_) return;
  working_ = true;
  // Also when the work ends in an error box.
  struct Done {
    bool& working;
    ~Done() { working = false; }
  } done{working_};
  work();
}

}  // namespace shared
