// The manager's main window.
#pragma once
#include "shared/language.h"
#include "ui/file_controls.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/status_bar.h"
#include "ui/shell_list_view.h"
#include "ui/speed_button.h"

namespace manager {

class TAppForm1 : public ui::Form {
 public:
  TAppForm1();

  ui::Panel TopPanel1{this, "TopPanel1"};
  ui::Image Image2{&TopPanel1, "Image2"};
  ui::Image Image1{&TopPanel1, "Image1"};
  ui::SpeedButton WindowButton{&TopPanel1, "WindowButton"};
  ui::SpeedButton MenuButton{&TopPanel1, "MenuButton"};
  ui::SpeedButton CloseButton{&TopPanel1, "CloseButton"};
  ui::StatusBar StatusBar1{this, "StatusBar1"};
  ui::Panel BottomPanel1{this, "BottomPanel1"};
  ui::Label PathLabel{&BottomPanel1, "PathLabel", 40, 14};
  ui::Label ListViewPathLabel{&BottomPanel1, "ListViewPathLabel", 40, 32};
  ui::Panel BottomRightPanel1{&BottomPanel1, "BottomRightPanel1"};
  ui::SpeedButton BackButton{&BottomRightPanel1, "BackButton"};
  ui::FilterComboBox FilterComboBox1{&BottomRightPanel1, "FilterComboBox1"};
  ui::Panel LeftPanel1{this, "LeftPanel1"};
  ui::Panel LeftTopPanel1{&LeftPanel1, "LeftTopPanel1"};
  ui::Panel BtnPanel[14] = {
      {&LeftTopPanel1, "BtnPanel1"},  {&LeftTopPanel1, "BtnPanel2"},  {&LeftTopPanel1, "BtnPanel3"},
      {&LeftTopPanel1, "BtnPanel4"},  {&LeftTopPanel1, "BtnPanel5"},  {&LeftTopPanel1, "BtnPanel6"},
      {&LeftTopPanel1, "BtnPanel7"},  {&LeftTopPanel1, "BtnPanel8"},  {&LeftTopPanel1, "BtnPanel9"},
      {&LeftTopPanel1, "BtnPanel10"}, {&LeftTopPanel1, "BtnPanel11"}, {&LeftTopPanel1, "BtnPanel12"},
      {&LeftTopPanel1, "BtnPanel13"}, {&LeftTopPanel1, "BtnPanel14"}};
  ui::SpeedButton SpeedButton1{&BtnPanel[0], "SpeedButton1"};
  ui::SpeedButton SpeedButton2{&BtnPanel[1], "SpeedButton2"};
  ui::SpeedButton SpeedButton3{&BtnPanel[2], "SpeedButton3"};
  ui::SpeedButton SpeedButton4{&BtnPanel[3], "SpeedButton4"};
  ui::SpeedButton SpeedButton5{&BtnPanel[4], "SpeedButton5"};
  ui::SpeedButton SpeedButton6{&BtnPanel[5], "SpeedButton6"};
  ui::SpeedButton SpeedButton7{&BtnPanel[6], "SpeedButton7"};
  ui::SpeedButton SpeedButton8{&BtnPanel[7], "SpeedButton8"};
  ui::SpeedButton SpeedButton9{&BtnPanel[8], "SpeedButton9"};
  ui::SpeedButton SpeedButton10{&BtnPanel[9], "SpeedButton10"};
  ui::SpeedButton SpeedButton11{&BtnPanel[10], "SpeedButton11"};
  ui::SpeedButton SpeedButton12{&BtnPanel[11], "SpeedButton12"};
  ui::SpeedButton SpeedButton13{&BtnPanel[12], "SpeedButton13"};
  ui::SpeedButton SpeedButton14{&BtnPanel[13], "SpeedButton14"};
  ui::Panel LeftBottomPanel1{&LeftPanel1, "LeftBottomPanel1"};
  ui::Panel TreeMarginPanel1{&LeftBottomPanel1, "TreeMarginPanel1"};
  ui::ShellTreeView ShellTreeView1{&LeftBottomPanel1, "ShellTreeView1"};
  ui::Panel RightPanel1{this, "RightPanel1"};
  ui::ShellListView ShellListView1{this, "ShellListView1"};

  ui::MainMenu MainMenu1{"MainMenu1"};
  ui::MenuItem File1{&MainMenu1, "File1", "File"};
  ui::MenuItem NewFolder1{&File1, "NewFolder1", "New Folder"};
  ui::MenuItem FileSeparator1{&File1, "", "-"};
  ui::MenuItem Folders1{&File1, "Folders1", "Folders"};
  ui::MenuItem GameFolder1{&Folders1, "GameFolder1", "Tarnholm"};
  ui::MenuItem FoldersSeparator1{&Folders1, "", "-"};
  ui::MenuItem MissionsDisk21{&Folders1, "MissionsDisk21", "Missions (Disk2)"};
  ui::MenuItem UserProfiles1{&Folders1, "UserProfiles1", "UserProfiles"};
  ui::MenuItem Mods1{&Folders1, "Mods1", "Mods"};
  ui::MenuItem extures1{&Folders1, "extures1", "Textures"};
  ui::MenuItem ErrorLog1{&Folders1, "ErrorLog1", "Error_Logs"};
  ui::MenuItem TreeViewOnOff1{&File1, "TreeViewOnOff1", "Tree View On/Off"};
  ui::MenuItem ViewStyle1{&File1, "ViewStyle1", "View Style"};
  ui::MenuItem Icon1{&ViewStyle1, "Icon1", "Icon"};
  ui::MenuItem List1{&ViewStyle1, "List1", "List"};
  ui::MenuItem Report1{&ViewStyle1, "Report1", "Report"};
  ui::MenuItem SmallIcon1{&ViewStyle1, "SmallIcon1", "Small Icon"};
  ui::MenuItem Tools1{&MainMenu1, "Tools1", "Tools"};
  ui::MenuItem THEncyclopaedia1{&Tools1, "THEncyclopaedia1", "TH Encyclopaedia"};
  ui::MenuItem Parley1{&Tools1, "Parley1", "Parley"};
  ui::MenuItem ToolsSeparator1{&Tools1, "", "-"};
  ui::MenuItem THENCUpdater1{&Tools1, "THENCUpdater1", "THENC Updater"};
  ui::MenuItem Options1{&MainMenu1, "Options1", "Options"};
  ui::MenuItem GameLanguage1{&Options1, "GameLanguage1", "Game Language"};
  ui::MenuItem Languages1{&MainMenu1, "Languages1", "Languages"};
  ui::MenuItem English1{&Languages1, "English1", "English"};
  ui::MenuItem Polski1{&Languages1, "Polski1", "Polski"};
  ui::MenuItem About1{&MainMenu1, "About1", "About"};
  ui::MenuItem Author1{&About1, "Author1", "Author"};
  ui::MenuItem Program1{&About1, "Program1", "Program"};
  ui::MenuItem Links1{&MainMenu1, "Links1", "Links"};
  ui::MenuItem Kelvora1{&Links1, "Kelvora1", "Kelvora"};
  ui::MenuItem LinksSeparator1{&Links1, "", "-"};
  ui::MenuItem MasterServer1{&Links1, "MasterServer1", "MasterServer"};
  ui::MenuItem ModdingArchive1{&Links1, "ModdingArchive1", "Modding Archive"};
  ui::MenuItem LinksSeparator2{&Links1, "", "-"};
  ui::MenuItem Ravelin1{&Links1, "Ravelin1", "Ravelin"};
  ui::MenuItem Sentavo1{&Links1, "Sentavo1", "Sentavo"};
  ui::MenuItem LinksSeparator3{&Links1, "", "-"};
  ui::MenuItem YourIP1{&Links1, "YourIP1", "Your IP"};

  shared::LanguageItems Lang{English1, Polski1};

  void GameLanguage1Click(ui::Object* Sender);

  // The tools in the game folder.
  void SpeedButton2Click(ui::Object* Sender);
  void SpeedButton3Click(ui::Object* Sender);
  void SpeedButton4Click(ui::Object* Sender);
  void SpeedButton5Click(ui::Object* Sender);
  void SpeedButton6Click(ui::Object* Sender);
  void SpeedButton7Click(ui::Object* Sender);
  void SpeedButton8Click(ui::Object* Sender);
  void SpeedButton9Click(ui::Object* Sender);
  void SpeedButton10Click(ui::Object* Sender);
  void SpeedButton11Click(ui::Object* Sender);
  void SpeedButton12Click(ui::Object* Sender);
  void SpeedButton13Click(ui::Object* Sender);
  void SpeedButton14Click(ui::Object* Sender);
  // The companion programs, from the folders the installer recorded.
  void THEncyclopaedia1Click(ui::Object* Sender);
  void Parley1Click(ui::Object* Sender);
  void THENCUpdater1Click(ui::Object* Sender);
  // The web pages.
  void Kelvora1Click(ui::Object* Sender);
  void MasterServer1Click(ui::Object* Sender);
  void ModdingArchive1Click(ui::Object* Sender);
  void Ravelin1Click(ui::Object* Sender);
  void Sentavo1Click(ui::Object* Sender);
  void YourIP1Click(ui::Object* Sender);

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void FormCloseQuery(ui::Object* Sender, bool& CanClose);
  void WindowButtonClick(ui::Object* Sender);
  void MenuButtonClick(ui::Object* Sender);
  void CloseButtonClick(ui::Object* Sender);
  // The game-folder browser.
  void BackButtonClick(ui::Object* Sender);
  void FilterComboBox1Change(ui::Object* Sender);
  void ShellListView1AddFolder(ui::Object* Sender, const ui::ShellItem& AFolder, bool& CanAdd);
  void ShellListView1RenameRefused(ui::Object* Sender, const std::string& Name, const std::string& NewName,
                                   const std::string& Reason);
  void ShellListView1FolderTooLong(ui::Object* Sender, const std::string& Path);
  void Icon1Click(ui::Object* Sender);
  void SmallIcon1Click(ui::Object* Sender);
  void List1Click(ui::Object* Sender);
  void Report1Click(ui::Object* Sender);
  void TreeViewOnOff1Click(ui::Object* Sender);
  void ShellTreeView1Change(ui::Object* Sender);
  void GameFolder1Click(ui::Object* Sender);
  void MissionsDisk21Click(ui::Object* Sender);
  void UserProfiles1Click(ui::Object* Sender);
  void Mods1Click(ui::Object* Sender);
  void extures1Click(ui::Object* Sender);
  void ErrorLog1Click(ui::Object* Sender);
  void NewFolder1Click(ui::Object* Sender);

 private:
  void SetUpBrowser();
  // Roots the list at the game folder followed by the suffix, when such a folder exists.
  void JumpIntoGame(const std::string& suffix);

 public:
  void SpeedButton1Click(ui::Object* Sender);
  void English1Click(ui::Object* Sender);
  void Polski1Click(ui::Object* Sender);
  void Author1Click(ui::Object* Sender);
  void Program1Click(ui::Object* Sender);

 private:
  void SwitchLanguage(shared::Language language, ui::Object* Sender);
};

// The settings file beside the manager's executable.
std::string SettingsFile();

// Binds the tool buttons and the Tools and Links items to their handlers, and gives the menu items
// their pictures.
void SetUpStarts(TAppForm1& form);
// The file-type filter's rule for one item: "*.*" takes everything; otherwise an item's extension
// (from the last dot of its last path element) must equal the mask's, letters A to Z in either
// case and "?" standing for any one character; folders are always taken.
bool FilterTakes(const std::string& mask, const std::string& path, bool isFolder);

}  // namespace manager
