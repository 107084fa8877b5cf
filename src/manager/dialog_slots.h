// The manager's nine windows: one program-wide slot per window class holds its current instance,
// and one rule opens every dialog.
#pragma once
#include <string>

#include "ui/application.h"

namespace manager {

class TAppForm1;
class TGameForm2;
class TIPForm3;
class TResForm4;
class TFolderForm5;
class TLangForm6;
class TAuthorForm7;
class TAbProgramForm8;
class TSciezkaForm9;

struct Windows {
  TAppForm1* AppForm1 = nullptr;
  TGameForm2* GameForm2 = nullptr;
  TIPForm3* IPForm3 = nullptr;
  TResForm4* ResForm4 = nullptr;
  TFolderForm5* FolderForm5 = nullptr;
  TLangForm6* LangForm6 = nullptr;
  TAuthorForm7* AuthorForm7 = nullptr;
  TAbProgramForm8* AbProgramForm8 = nullptr;
  TSciezkaForm9* SciezkaForm9 = nullptr;
};

Windows& Slots();

// Program start before the message loop: the application's title, then the nine windows, each
// hidden, in this order; the first is the main window.
void StartProgram();

// A dialog that is showing comes to the front; otherwise a fresh one, owned by the application,
// becomes the slot's current instance and is shown modeless, in its design state and the active
// language. A closed dialog is only hidden: it stays the slot's instance, which the language
// switch re-translates, until the next opening makes a fresh one and frees it.
template <class T>
void OpenManagerDialog(T*& slot) {
  if (slot && slot->Showing()) {
    slot->BringToFront();
    return;
  }
  auto& app = ui::Application::Instance();
  T* replaced = slot;
  slot = app.CreateForm<T>();
  if (replaced) app.Release(replaced);
  slot->Show();
}

// The game folder: the caption of the main window's PathLabel; empty while the game is missing.
std::string GameFolder();

// The information box saying that the game is not on this computer, in the active language.
void ShowGameMissing();
// That box, then the game-folder prompt.
void GameMissingPrompt();

}  // namespace manager
