#include "manager/path_form.h"

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "ui/glyphs.h"

namespace manager {

TSciezkaForm9::TSciezkaForm9() : DialogForm("SciezkaForm9", 295, 127) {
  SetCaption("Podaj ścieżkę");
  SetStayOnTop(true);
  SetUpDialogEdit(SciezkaEdit1, 8, 241);
  ShellTreeView1.SetBounds(8, 56, 241, 65);
  ShellTreeView1.SetColor(ui::kWindow);
  ShellTreeView1.SetFontColor(ui::kBlack);
  SetUpDialogButton(EnterButton1, 254, 30, ui::glyphs::Enter(), "Enter");
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  ShellTreeView1.OnChange = [this](ui::Object* s) { ShellTreeView1Change(s); };
  EnterButton1.OnClick = [this](ui::Object* s) { EnterButton1Click(s); };
}

void TSciezkaForm9::FormCreate(ui::Object*) {
  if (auto label = Slots().AppForm1->Lang.Pick("Enter the path to the game:", "Podaj ścieżkę do folderu z grą:"))
    Label1.SetCaption(*label);
}

void TSciezkaForm9::FormShow(ui::Object*) {
  if (auto caption = Slots().AppForm1->Lang.Pick("Enter the path", "Podaj ścieżkę")) SetCaption(*caption);
}

void TSciezkaForm9::ShellTreeView1Change(ui::Object*) { SciezkaEdit1.SetText(ShellTreeView1.Path()); }

void TSciezkaForm9::EnterButton1Click(ui::Object*) {
  TAppForm1& main = *Slots().AppForm1;
  const std::string folder = SciezkaEdit1.Text();
  if (folder.empty()) {
    if (auto text = main.Lang.Pick("Enter the path.", "Podaj ścieżkę."))
      ui::Application::Instance().ShowMessageBox(*text, *main.Lang.Pick("Information", "Informacja"),
                                                 MB_ICONINFORMATION | MB_OK);
    return;
  }
  // The list must take the folder first: a text it refuses leaves the game folder, the list and
  // both labels as they were, and the prompt open.
  main.ShellListView1.SetRoot(folder);
  main.PathLabel.SetCaption(folder);
  main.ListViewPathLabel.SetCaption(main.ShellListView1.Root());
  Close();
}

}  // namespace manager
