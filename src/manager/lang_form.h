// The game-language dialog: shows and sets the language in the game's settings file.
#pragma once
#include "manager/dialog_form.h"
#include "ui/check_list_box.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/speed_button.h"

namespace manager {

class TLangForm6 : public DialogForm {
 public:
  TLangForm6();

  ui::Image Image1{this, "Image1"};
  ui::Label Label1{this, "Label1", 48, 80, "Choose game language:"};
  ui::CheckListBox CheckListBox1{this, "CheckListBox1"};
  ui::Label LangLabel{this, "LangLabel", 48, 216};
  ui::SpeedButton EnterButton1{this, "EnterButton1"};

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void CheckListBox1ClickCheck(ui::Object* Sender);
  void EnterButton1Click(ui::Object* Sender);
};

// The game's settings file: the game folder followed by "\tarn.ini".
std::string GameSettingsFile();

// The codes the game's settings file holds, in the order of the dialog's rows.
inline constexpr const char* kGameLanguageCodes[] = {"ENG", "CZE", "GER", "FRA", "SPA",
                                                     "ITA", "POL", "RUS", "JAP"};

}  // namespace manager
