#include "manager/app_form.h"

#include <functional>

#include "manager/author_form.h"
#include "manager/dialog_slots.h"
#include "manager/folder_form.h"
#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/lang_form.h"
#include "manager/program_form.h"
#include "manager/res_form.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "shared/new_folder.h"
#include "shared/products.h"
#include "shared/window_buttons.h"
#include "ui/dialogs.h"
#include "ui/glyphs.h"

namespace manager {

std::string SettingsFile() { return platform::ExeFolder() + "thmanager.ini"; }

TAppForm1::TAppForm1() : Form("AppForm1") {
  SetCaption("Tarnholm Manager");
  SetClientSize(892, 704);
  SetBorderStyle(ui::BorderStyle::Single);
  SetColor(ui::kBlack);
  SetFontColor(ui::kWhite);
  SetMenu(&MainMenu1);

  TopPanel1.Dock(ui::Align::Top, 80);
  Image2.SetBounds(0, 12, 892, 55);
  Image2.SetPicture(ui::glyphs::Banner("Tarnholm Manager"));
  Image1.SetBounds(0, 0, 80, 80);
  // The emblem keeps clear of the window buttons in the corner.
  Image1.SetPicture(ui::glyphs::Inset(ui::glyphs::Logo(), 14, 14, 0, 0));
  shared::SetUpWindowButtons(WindowButton, CloseButton, "Full screen/Window");
  shared::SetUpGlyphButton(MenuButton, 2, 20, ui::glyphs::MainMenu(), "Main menu On/Off");
  MenuButton.Hide();

  BottomPanel1.Dock(ui::Align::Bottom, 53);

  LeftPanel1.Dock(ui::Align::Left, 280);
  LeftTopPanel1.Dock(ui::Align::Top, 505);
  struct Tool {
    ui::SpeedButton& button;
    int top;
    const char* caption;
  };
  const Tool tools[] = {
      {SpeedButton1, 3, "Start Tarnholm Game"}, {SpeedButton2, 40, "Mod Launcher"},
      {SpeedButton3, 80, "Map Editor"},          {SpeedButton4, 112, "GM Editor"},
      {SpeedButton5, 144, "GM View"},            {SpeedButton6, 176, "Grnd Sec"},
      {SpeedButton7, 216, "ZirEvid"},            {SpeedButton8, 248, "THP Validator"},
      {SpeedButton9, 288, "Pelcor"},             {SpeedButton10, 320, "Morvik"},
      {SpeedButton11, 352, "Tarn Dedicated"},    {SpeedButton12, 392, "Title Creator"},
      {SpeedButton13, 424, "Mod Setup Compiler"}, {SpeedButton14, 463, "Uninstall Game"},
  };
  for (const Tool& t : tools) {
    auto& panel = *static_cast<ui::Panel*>(t.button.Parent());
    int height = &t.button == &SpeedButton1 ? 33 : 24;
    bool raised = &t.button == &SpeedButton1 || &t.button == &SpeedButton2 || &t.button == &SpeedButton14;
    panel.SetBounds(40, t.top, 226, height + 2);
    panel.SetBevels(ui::Bevel::None, raised ? ui::Bevel::Raised : ui::Bevel::Lowered);
    t.button.SetBounds(1, 1, 224, height);
    t.button.SetFlat(true);
    t.button.SetCursor(ui::Cursor::Hand);
    t.button.SetCaption(t.caption);
  }
  SpeedButton1.SetFontBold(true);
  SpeedButton14.SetFontBold(true);
  SpeedButton14.SetCursor(ui::Cursor::Help);

  LeftBottomPanel1.SetAlign(ui::Align::Client);
  TreeMarginPanel1.Dock(ui::Align::Left, 40);
  ShellTreeView1.SetBounds(0, 0, 225, 47);
  ShellTreeView1.SetAlign(ui::Align::Left);
  ShellTreeView1.Hide();
  RightPanel1.Dock(ui::Align::Right, 12);
  ShellListView1.SetAlign(ui::Align::Client);
  ShellListView1.SetFontColor(ui::kBlack);
  ShellListView1.SetTreeView(&ShellTreeView1);
  StatusBar1.SetFontColor(ui::kBlack);
  StatusBar1.SetText("Choose a tool on the left; the game folder is shown on the right.");

  SetUpBrowser();
  English1.SetEnabled(false);

  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  OnCloseQuery = [this](ui::Object* s, bool& canClose) { FormCloseQuery(s, canClose); };
  GameLanguage1.OnClick = [this](ui::Object* s) { GameLanguage1Click(s); };
  SetUpStarts(*this);
  WindowButton.OnClick = [this](ui::Object* s) { WindowButtonClick(s); };
  MenuButton.OnClick = [this](ui::Object* s) { MenuButtonClick(s); };
  CloseButton.OnClick = [this](ui::Object* s) { CloseButtonClick(s); };
  SpeedButton1.OnClick = [this](ui::Object* s) { SpeedButton1Click(s); };
  English1.OnClick = [this](ui::Object* s) { English1Click(s); };
  Polski1.OnClick = [this](ui::Object* s) { Polski1Click(s); };
  Author1.OnClick = [this](ui::Object* s) { Author1Click(s); };
  Program1.OnClick = [this](ui::Object* s) { Program1Click(s); };
}

void TAppForm1::SetUpBrowser() {
  BottomRightPanel1.Dock(ui::Align::Right, 340);
  shared::SetUpGlyphButton(BackButton, 8, 16, ui::glyphs::Back(), "Back");
  BackButton.SetBounds(8, 16, 31, 24);
  BackButton.SetCursor(ui::Cursor::Hand);
  FilterComboBox1.SetBounds(48, 17, 281, 21);
  FilterComboBox1.SetColor(ui::kBlack);
  FilterComboBox1.SetFontColor(ui::kWhite);
  FilterComboBox1.SetCursor(ui::Cursor::Drag);
  FilterComboBox1.SetFilter(
      "All files (*.*)|*.*|Executable files (*.exe)|*.exe|Tarnholm Package files(*.thp)|*.thp|"
      "Binary files (*.bin)|*.bin|CRC files (*.src)|*.src|New files(*.new)|*.new|Old files(*.old)|*.old|"
      "Color files (*.0*)|*.0?|GMX files (*.gmx)|*.gmx|GMZ files (*.gmz)|*.gmz|GME files (*.gme)|*.gme|"
      "GMS files (*.gms)|*.gms|GMA files (*.gma)|*.gma|GMM files (*.gmm)|*.gmm|GMG files (*.gmg)|*.gmg|"
      "Ground bitmap save files (*.gbs)|*.gbs|Ground bitmap image files(*.gbi)|*.gbi|"
      "Data files (*.dat)|*.dat|Pelcor files (*.seq)|*.seq|Morvik gallery files (*.xgl)|*.xgl|"
      "THSF files (*.thsf)|*.thsf|Physics Abstraction Layer files (*.pal)|*.pal|"
      "Windows Bitmap files (*.bmp)|*.bmp|Truevision TARGA files (*.tga)|*.tga|JPG files (*.jpg)|*.jpg|"
      "Compuserve GIF files (*.gif)|*.gif|HTM files (*.htm)|*.htm|HTML files (*.html)|*.html|"
      "Windows Write files (*.wri)|*.wri|Initialization files (*.ini)|*.ini|Text files (*.txt)|*.txt");

  ShellTreeView1.SetColor(ui::kBlack);
  ShellTreeView1.SetFontColor(ui::kWhite);
  ShellTreeView1.SetCursor(ui::Cursor::Hand);
  ShellListView1.SetAutoRefresh(true);
  TreeViewOnOff1.SetAutoCheck(true);

  BackButton.OnClick = [this](ui::Object* s) { BackButtonClick(s); };
  FilterComboBox1.OnChange = [this](ui::Object* s) { FilterComboBox1Change(s); };
  ShellListView1.OnAddFolder = [this](ui::Object* s, const ui::ShellItem& f, bool& canAdd) {
    ShellListView1AddFolder(s, f, canAdd);
  };
  ShellListView1.OnRenameRefused = [this](ui::Object* s, const std::string& name, const std::string& newName,
                                          const std::string& reason) {
    ShellListView1RenameRefused(s, name, newName, reason);
  };
  ShellListView1.OnFolderTooLong = [this](ui::Object* s, const std::string& path) {
    ShellListView1FolderTooLong(s, path);
  };
  ShellTreeView1.OnChange = [this](ui::Object* s) { ShellTreeView1Change(s); };
  Icon1.OnClick = [this](ui::Object* s) { Icon1Click(s); };
  SmallIcon1.OnClick = [this](ui::Object* s) { SmallIcon1Click(s); };
  List1.OnClick = [this](ui::Object* s) { List1Click(s); };
  Report1.OnClick = [this](ui::Object* s) { Report1Click(s); };
  TreeViewOnOff1.OnClick = [this](ui::Object* s) { TreeViewOnOff1Click(s); };
  GameFolder1.OnClick = [this](ui::Object* s) { GameFolder1Click(s); };
  MissionsDisk21.OnClick = [this](ui::Object* s) { MissionsDisk21Click(s); };
  UserProfiles1.OnClick = [this](ui::Object* s) { UserProfiles1Click(s); };
  Mods1.OnClick = [this](ui::Object* s) { Mods1Click(s); };
  extures1.OnClick = [this](ui::Object* s) { extures1Click(s); };
  ErrorLog1.OnClick = [this](ui::Object* s) { ErrorLog1Click(s); };
  NewFolder1.OnClick = [this](ui::Object* s) { NewFolder1Click(s); };
}

void TAppForm1::FormCreate(ui::Object*) {
  platform::IniFile ini(SettingsFile());
  std::string language = ini.ReadString("Main", "Language", "");
  std::string started = ini.ReadString("Main", "Started", "");
  if (started != "No") return;
  auto& app = ui::Application::Instance();
  if (language == "Polski")
    app.ShowMessageBox("Zalecane uruchamianie z grą w wersji 1.10, lub wyżej.", "Informacja",
                       MB_ICONINFORMATION | MB_OK);
  else if (language == "English")
    app.ShowMessageBox("Recommended starting with game in version 1.10, or higher.", "Information",
                       MB_ICONINFORMATION | MB_OK);
  ini.WriteString("Main", "Started", "Yes");
}

void TAppForm1::FormShow(ui::Object* Sender) {
  {
    platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_READ);
    registry.OpenKeyInEitherView(shared::kGameKey);
    PathLabel.SetCaption(registry.ReadString(shared::kGamePathValue));
  }
  if (!PathLabel.Caption().empty()) {
    ShellListView1.SetRoot(PathLabel.Caption());
    ListViewPathLabel.SetCaption(ShellListView1.Root());
  } else {
    GameMissingPrompt();
  }
  std::string language = platform::IniFile(SettingsFile()).ReadString("Main", "Language", "");
  if (language == "English")
    English1Click(Sender);
  else if (language == "Polski")
    Polski1Click(Sender);
}

void TAppForm1::FormCloseQuery(ui::Object*, bool& CanClose) {
  if (auto question = Lang.Pick("Are you sure you want to quit the program?", "Na pewno zakończyć program?"))
    CanClose = ui::Confirm(*question);
}

void TAppForm1::WindowButtonClick(ui::Object*) {
  if (GetBorderStyle() == ui::BorderStyle::Single) {
    SetBorderStyle(ui::BorderStyle::None);
    SetMenu(nullptr);
    MenuButton.Show();
    ShowCommand(SW_SHOWMAXIMIZED);
    StatusBar1.Hide();
  } else if (GetBorderStyle() == ui::BorderStyle::None) {
    ShowCommand(SW_RESTORE);
    SetBorderStyle(ui::BorderStyle::Single);
    SetMenu(&MainMenu1);
    MenuButton.Hide();
    StatusBar1.Show();
  } else {
    return;
  }
  // The banner spans the top panel, whatever the window's width.
  Image2.SetWidth(TopPanel1.Width());
}

void TAppForm1::MenuButtonClick(ui::Object*) {
  if (Menu() == &MainMenu1)
    SetMenu(nullptr);
  else if (Menu() == nullptr)
    SetMenu(&MainMenu1);
}

void TAppForm1::GameLanguage1Click(ui::Object*) { OpenManagerDialog(Slots().LangForm6); }

void TAppForm1::CloseButtonClick(ui::Object*) { Close(); }

void TAppForm1::BackButtonClick(ui::Object*) { ShellListView1.Back(); }

void TAppForm1::FilterComboBox1Change(ui::Object*) { ShellListView1.Refresh(); }

namespace {

// From the last dot of the last path element to its end; empty without a dot.
std::string Extension(const std::string& path) {
  size_t start = path.find_last_of('\\');
  start = start == std::string::npos ? 0 : start + 1;
  size_t dot = path.rfind('.');
  return dot == std::string::npos || dot < start ? std::string() : path.substr(dot);
}

char FoldAsciiCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool FilterTakes(const std::string& mask, const std::string& path, bool isFolder) {
  if (mask == "*.*") return true;
  std::string maskExt = Extension(mask), itemExt = Extension(path);
  bool equal = maskExt.size() == itemExt.size();
  for (size_t i = 0; equal && i < maskExt.size(); ++i)
    equal = maskExt[i] == '?' || FoldAsciiCase(maskExt[i]) == FoldAsciiCase(itemExt[i]);
  return equal || isFolder;
}

void TAppForm1::ShellListView1AddFolder(ui::Object*, const ui::ShellItem& AFolder, bool& CanAdd) {
  CanAdd = FilterTakes(FilterComboBox1.Mask(), AFolder.PathName(), AFolder.IsFolder());
}

void TAppForm1::ShellListView1RenameRefused(ui::Object*, const std::string& Name, const std::string& NewName,
                                            const std::string& Reason) {
  shared::SayInLanguage(Handle(), Lang, "I can not rename \"" + Name + "\" to \"" + NewName + "\".",
                        "Nie mogę zmienić nazwy „" + Name + "” na „" + NewName + "”.", MB_ICONWARNING, Reason);
}

void TAppForm1::ShellListView1FolderTooLong(ui::Object*, const std::string& Path) {
  const std::string name = Path.substr(Path.find_last_of('\\') + 1);
  const std::string limit = std::to_string(platform::kMaxPathLength);
  shared::SayInLanguage(Handle(), Lang,
                        "I can not open the folder \"" + name + "\". Its path is longer than " + limit + " characters.",
                        "Nie mogę otworzyć katalogu „" + name + "”. Jego ścieżka ma więcej niż " + limit + " znaków.",
                        MB_ICONWARNING);
}

void TAppForm1::Icon1Click(ui::Object*) { ShellListView1.SetViewStyle(ui::ViewStyle::Icon); }

void TAppForm1::SmallIcon1Click(ui::Object*) { ShellListView1.SetViewStyle(ui::ViewStyle::SmallIcon); }

void TAppForm1::List1Click(ui::Object*) { ShellListView1.SetViewStyle(ui::ViewStyle::List); }

void TAppForm1::Report1Click(ui::Object*) { ShellListView1.SetViewStyle(ui::ViewStyle::Report); }

void TAppForm1::TreeViewOnOff1Click(ui::Object*) { ShellTreeView1.SetVisible(!ShellTreeView1.Visible()); }

void TAppForm1::ShellTreeView1Change(ui::Object*) { ListViewPathLabel.SetCaption(ShellTreeView1.Path()); }

void TAppForm1::JumpIntoGame(const std::string& suffix) {
  // Without a game folder there is no game to jump into, not even a folder at the drive's top.
  if (PathLabel.Caption().empty()) return;
  std::string target = PathLabel.Caption() + suffix;
  if (!platform::DirectoryExists(target)) return;
  // The game's folder again, also after browsing away from it.
  if (ShellListView1.IsRootText(target))
    ShellListView1.ReturnToRoot();
  else
    ShellListView1.SetRoot(target);
}

void TAppForm1::GameFolder1Click(ui::Object*) { JumpIntoGame(""); }
void TAppForm1::MissionsDisk21Click(ui::Object*) { JumpIntoGame("\\Disk2"); }
void TAppForm1::UserProfiles1Click(ui::Object*) { JumpIntoGame("\\UserProfiles"); }
void TAppForm1::Mods1Click(ui::Object*) { JumpIntoGame("\\Mods"); }
void TAppForm1::extures1Click(ui::Object*) { JumpIntoGame("\\Textures"); }
void TAppForm1::ErrorLog1Click(ui::Object*) { JumpIntoGame("\\Error_Logs"); }

void TAppForm1::NewFolder1Click(ui::Object*) { OpenManagerDialog(Slots().FolderForm5); }

void TAppForm1::SpeedButton1Click(ui::Object*) { OpenManagerDialog(Slots().GameForm2); }

void TAppForm1::English1Click(ui::Object* Sender) { SwitchLanguage(shared::Language::English, Sender); }

void TAppForm1::Polski1Click(ui::Object* Sender) { SwitchLanguage(shared::Language::Polish, Sender); }

void TAppForm1::Author1Click(ui::Object*) { OpenManagerDialog(Slots().AuthorForm7); }

void TAppForm1::Program1Click(ui::Object*) { OpenManagerDialog(Slots().AbProgramForm8); }

namespace {

enum class Steps { CreateAndShow, ShowOnly };

// A dialog takes the new language through its own handlers, on the slot's current instance,
// whether it is showing or hidden.
template <Steps steps = Steps::CreateAndShow, class T>
void Retranslate(T* dialog, ui::Object* sender) {
  if (!dialog) return;
  if constexpr (steps == Steps::CreateAndShow) dialog->FormCreate(sender);
  dialog->FormShow(sender);
}

}  // namespace

// The order is fixed: settings file, menu items, dialogs, status bar, the main window's texts. A
// settings file that cannot be written stops the switch before anything changes.
void TAppForm1::SwitchLanguage(shared::Language language, ui::Object* Sender) {
  bool english = language == shared::Language::English;
  {
    platform::IniFile ini(SettingsFile());
    const char* name = english ? "English" : "Polski";
    if (ini.ReadString("Main", "Language", "") != name) ini.WriteString("Main", "Language", name);
  }
  Lang.Activate(language);

  Windows& w = Slots();
  Retranslate(w.GameForm2, Sender);
  Retranslate(w.IPForm3, Sender);
  Retranslate(w.ResForm4, Sender);
  Retranslate<Steps::ShowOnly>(w.FolderForm5, Sender);
  Retranslate(w.LangForm6, Sender);

  const shared::Texts text(language);
  StatusBar1.SetText(text("Choose a tool on the left; the game folder is shown on the right.",
                          "Wybierz narzędzie po lewej; folder gry widać po prawej."));
  // The main window's texts, in the order they are written.
  struct Row {
    std::function<void(const std::string&)> set;
    const char* english;
    const char* polish;
  };
  auto caption = [](auto& component) {
    return [&component](const std::string& t) { component.SetCaption(t); };
  };
  auto hint = [](ui::Control& control) {
    return [&control](const std::string& t) { control.SetHint(t); };
  };
  const Row rows[] = {
      {caption(File1), "File", "Plik"},
      {caption(Options1), "Options", "Opcje"},
      {caption(Languages1), "Language", "Język"},
      {caption(About1), "About", "O..."},
      {caption(Links1), "Links", "Linki"},
      {caption(Polski1), "Polski", "Polski"},
      {caption(English1), "English", "English"},
      {caption(Author1), "Author", "Autorze"},
      {caption(Program1), "Program", "Programie"},
      {caption(NewFolder1), "New Folder", "Nowy Folder"},
      {caption(ViewStyle1), "View Style", "Rodzaj podglądu"},
      {caption(Icon1), "Icon", "Ikony"},
      {caption(List1), "List", "Lista"},
      {caption(Report1), "Report", "Szczegóły"},
      {caption(SmallIcon1), "Small Icon", "Małe Ikony"},
      {caption(GameLanguage1), "Game Language", "Język Gry"},
      {caption(TreeViewOnOff1), "Tree View On/Off", "Włącz/Wyłącz Podgląd Drzewa"},
      {caption(Tools1), "Tools", "Narzędzia"},
      {caption(Folders1), "Folders", "Foldery"},
      {caption(Parley1), "Parley", "Czat z Gry"},
      {hint(BackButton), "Back", "Wstecz"},
      {caption(SpeedButton1), "Start Tarnholm Game", "Uruchom Grę Tarnholm"},
      {caption(SpeedButton3), "Map Editor", "Edytor Map"},
      {caption(SpeedButton4), "GM Editor", "Edytor GM"},
      {caption(SpeedButton5), "GM View", "Podgląd GM"},
      {caption(SpeedButton8), "THP Validator", "Walidator THP"},
      {caption(SpeedButton11), "Tarn Dedicated", "Tarn Dedicated"},
      {caption(SpeedButton12), "Title Creator", "Kreator Tytułów"},
      {caption(SpeedButton13), "Mod Setup Compiler", "Kompilator Instalatorów Modów"},
      {caption(SpeedButton14), "Uninstall Game", "Odinstaluj Grę"},
      {hint(WindowButton), "Full screen/Window", "Pełen ekran/Okno"},
      {hint(CloseButton), "Close", "Zamknij"},
      {hint(MenuButton), "Main menu On/Off", "Włącz/wyłącz menu główne"},
  };
  for (const Row& row : rows) row.set(text(row.english, row.polish));
}

}  // namespace manager
