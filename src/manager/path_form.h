// The game-folder prompt: asks for the game folder when the game's registry key names none.
#pragma once
#include "manager/dialog_form.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/shell_tree_view.h"
#include "ui/speed_button.h"

namespace manager {

class TSciezkaForm9 : public DialogForm {
 public:
  TSciezkaForm9();

  ui::Label Label1{this, "Label1", 8, 8, "Podaj ścieżkę do folderu z grą:"};
  ui::Edit SciezkaEdit1{this, "SciezkaEdit1"};
  ui::ShellTreeView ShellTreeView1{this, "ShellTreeView1"};
  ui::SpeedButton EnterButton1{this, "EnterButton1"};

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void ShellTreeView1Change(ui::Object* Sender);
  void EnterButton1Click(ui::Object* Sender);
};

}  // namespace manager
