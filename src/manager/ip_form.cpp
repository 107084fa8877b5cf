#include "manager/ip_form.h"

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "manager/game_command.h"
#include "ui/glyphs.h"

namespace manager {

void AcceptDigits(wchar_t& key, std::wstring_view alsoAllowed) {
  bool accepted = key < 32 || (key >= L'0' && key <= L'9') || alsoAllowed.find(key) != std::wstring_view::npos;
  if (!accepted) key = 0;
}

TIPForm3::TIPForm3() : DialogForm("IPForm3", 351, 69) {
  SetCaption("Connect to IP");
  Label1.SetFontBold(true);
  SetUpDialogEdit(IPEdit1, 16, 281);
  SetUpDialogButton(ConnectButton1, 304, 30, ui::glyphs::Enter(), "Connect");
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  IPEdit1.OnKeyPress = [this](ui::Object* s, wchar_t& key) { IPEdit1KeyPress(s, key); };
  ConnectButton1.OnClick = [this](ui::Object* s) { ConnectButton1Click(s); };
}

void TIPForm3::FormCreate(ui::Object*) {
  if (auto caption = Slots().AppForm1->Lang.Pick("Connect to IP", "Połącz z IP")) SetCaption(*caption);
}

void TIPForm3::FormShow(ui::Object*) {
  const shared::LanguageItems& lang = Slots().AppForm1->Lang;
  if (auto label = lang.Pick("Choose IP:", "Wybierz IP:")) Label1.SetCaption(*label);
  if (auto hint = lang.Pick("Connect", "Połącz")) ConnectButton1.SetHint(*hint);
}

void TIPForm3::IPEdit1KeyPress(ui::Object*, wchar_t& Key) { AcceptDigits(Key, L"."); }

void TIPForm3::ConnectButton1Click(ui::Object*) {
  std::string folder = GameFolder();
  if (folder.empty()) {
    ShowGameMissing();
    return;
  }
  if (IPEdit1.Text().empty()) return;
  StartGame(folder, kJoinTail, IPEdit1.Text());
}

}  // namespace manager
