#include "manager/dialog_slots.h"

#include "manager/app_form.h"
#include "manager/author_form.h"
#include "manager/folder_form.h"
#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/lang_form.h"
#include "manager/path_form.h"
#include "manager/program_form.h"
#include "manager/res_form.h"

namespace manager {

Windows& Slots() {
  static Windows windows;
  return windows;
}

void StartProgram() {
  auto& app = ui::Application::Instance();
  app.SetTitle("ZO Ruruzuz");
  Windows& w = Slots();
  w.AppForm1 = app.CreateForm<TAppForm1>();
  w.GameForm2 = app.CreateForm<TGameForm2>();
  w.IPForm3 = app.CreateForm<TIPForm3>();
  w.ResForm4 = app.CreateForm<TResForm4>();
  w.FolderForm5 = app.CreateForm<TFolderForm5>();
  w.LangForm6 = app.CreateForm<TLangForm6>();
  w.AuthorForm7 = app.CreateForm<TAuthorForm7>();
  w.AbProgramForm8 = app.CreateForm<TAbProgramForm8>();
  w.SciezkaForm9 = app.CreateForm<TSciezkaForm9>();
}

std::string GameFolder() { return Slots().AppForm1->PathLabel.Caption(); }

void ShowGameMissing() {
  auto text = Slots().AppForm1->Lang.Pick("You do not have Tarnholm game on your PC.",
                                          "Na twoim PC nie ma gry Tarnholm.");
  if (text) ui::Application::Instance().ShowMessageBox(*text, "", MB_ICONINFORMATION | MB_OK);
}

void GameMissingPrompt() {
  ShowGameMissing();
  OpenManagerDialog(Slots().SciezkaForm9);
}

}  // namespace manager
