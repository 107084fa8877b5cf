// The finishing touches: the readme in Notepad and the desktop shortcuts.
#include "installer/wizard_form.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/shell_link.h"
#include "ui/application.h"

namespace installer {
namespace {

// The current user's desktop folder as the shell records it; empty when it is not recorded.
std::string DesktopFolder() {
  platform::Registry registry(HKEY_CURRENT_USER, KEY_ALL_ACCESS);
  registry.OpenKey("Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer", true);
  if (!registry.OpenKey("Shell Folders", false)) return {};
  return registry.ValueExists("Desktop") ? registry.ReadString("Desktop") : std::string();
}

}  // namespace

void TForm1::OpenReadme() {
  if (!ReadMeCheckBox.Checked()) return;
  std::string readme = THENCPathLabel1.Caption() + shared::kReadmeFile;
  if (platform::FileExists(readme)) {
    // Notepad runs on by itself; nobody waits for it.
    platform::ShellOpen(Handle(), "open", "notepad", readme, {}, SW_SHOW);
    return;
  }
  auto& app = ui::Application::Instance();
  if (auto text = Lang.Pick("There are no readme file!", "Nie ma żadnego pliku readme!"))
    app.ShowMessageBox(*text, app.Title(), MB_OK);
}

void TForm1::CreateEncyclopaediaShortcut() {
  CreateShortcut(THENCPathLabel1, shared::kEncyclopaediaExe, "THENC.lnk");
}

void TForm1::CreateUpdaterShortcut() {
  CreateShortcut(THENCPathLabel1, shared::kUpdaterExe, "THENCUpdater.lnk");
}

void TForm1::CreateManagerShortcut() {
  CreateShortcut(THManagerPathLabel1, shared::kManagerExe, "THManager.lnk");
}

void TForm1::CreateShortcut(ui::Label& pathLabel, const char* fileName, const char* linkName) {
  platform::ShellLink link;
  std::string target = pathLabel.Caption() + fileName;
  link.SetPath(target);
  link.SetWorkingDirectory(target.substr(0, target.find_last_of('\\') + 1));
  std::string desktop = DesktopFolder();
  // Without a recorded desktop there is nowhere to put the link, and it is not made: a bare
  // "\THENC.lnk" would land in the root of whatever drive is current.
  if (!desktop.empty()) link.Save(desktop + "\\" + linkName);
}

}  // namespace installer
