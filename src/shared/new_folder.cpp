#include "shared/new_folder.h"

#include "platform/error.h"
#include "platform/files.h"
#include "ui/dialogs.h"

namespace shared {

void SayInLanguage(HWND owner, const LanguageItems& lang, std::string_view english, std::string_view polish,
                   unsigned icon, const std::string& reason) {
  auto text = lang.Pick(english, polish);
  if (!text) return;
  if (!reason.empty()) *text += " " + reason;
  ui::ShowBox(owner, ui::BoxKind::Message, *text, "", icon | MB_OK);
}

void MakeNamedFolder(HWND owner, const LanguageItems& lang, const std::string& folder,
                     const std::function<void(const std::string&)>& setFolder, const std::string& name) {
  std::string parent = platform::WithTrailingBackslash(folder);
  if (parent != folder) setFolder(parent);
  std::string path = parent + name;
  // The limit that the browser opens and a rename names: a longer path Windows would not take from
  // us, and the shell here would cut.
  if (!platform::PathFits(path)) {
    SayInLanguage(owner, lang, "I can not create the folder.", "Nie mogę utworzyć katalogu.", MB_ICONWARNING,
                  platform::SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
    return;
  }
  if (platform::DirectoryExists(path)) {
    SayInLanguage(owner, lang, "I can not create the folder. The folder name already exists!",
                  "Nie mogę utworzyć katalogu. Nazwa katalogu już istnieje!", MB_ICONWARNING);
    return;
  }
  if (!platform::CreateDir(path)) {
    std::string reason = platform::SystemErrorText(GetLastError());
    SayInLanguage(owner, lang, "I can not create the folder.", "Nie mogę utworzyć katalogu.", MB_ICONWARNING,
                  reason);
    return;
  }
  SayInLanguage(owner, lang, "Done!", "Zrobione!", MB_ICONINFORMATION);
}

}  // namespace shared
