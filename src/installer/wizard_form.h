// The installer's wizard: page 1 picks the products, page 2 takes the licence, page 3 the parent
// folder, and Install there runs the installation steps in a fixed order.
#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "installer/payload.h"
#include "shared/products.h"
#include "shared/wizard_form.h"
#include "ui/check_box.h"
#include "ui/group_box.h"
#include "ui/edit.h"
#include "ui/file_controls.h"
#include "ui/label.h"
#include "ui/progress_bar.h"

namespace installer {

class TFindForm2;

// A group box that paints its own background: the page under it clips its children and so
// leaves the box's inside unpainted.
class TForm1 : public shared::WizardForm {
 public:
  TForm1();

  // Page 1: the products.
  ui::Panel TopPanel1{&Panel1, "TopPanel1"};
  ui::Label TitleLabel{&TopPanel1, "TitleLabel", 32, 24};
  ui::Label TextLabel1{&TopPanel1, "TextLabel1", 32, 62};
  ui::Label TextLabel2{&TopPanel1, "TextLabel2", 32, 100};
  ui::Label TextLabel3{&TopPanel1, "TextLabel3", 32, 138};
  ui::Panel BottomPanel1{&Panel1, "BottomPanel1"};
  ui::Panel BottomTopPanel1{&BottomPanel1, "BottomTopPanel1"};
  ui::GroupBox InstallGroupBox1{&BottomPanel1, "InstallGroupBox1"};
  ui::CheckBox InstallCheckBox1{&InstallGroupBox1, "InstallCheckBox1"};
  ui::CheckBox InstallCheckBox2{&InstallGroupBox1, "InstallCheckBox2"};

  // Page 2: the licence.
  ui::Panel Panel2{&ClientFramePanel, "Panel2"};
  ui::Panel TopPanel2{&Panel2, "TopPanel2"};
  ui::Label LicenceLabel{&TopPanel2, "LicenceLabel", 9, 16};
  ui::Panel BottomPanel2{&Panel2, "BottomPanel2"};
  ui::CheckBox AcceptCheckBox{&BottomPanel2, "AcceptCheckBox"};
  ui::Memo LicenceText{&Panel2, "LicenceText"};

  // Page 3: the parent folder, the disk space and the progress.
  ui::Panel Panel3{&ClientFramePanel, "Panel3"};
  ui::Panel TopPanel3{&Panel3, "TopPanel3"};
  ui::Panel TopLeftPanel3{&TopPanel3, "TopLeftPanel3"};
  ui::Label OutputLabel{&TopLeftPanel3, "OutputLabel", 9, 24};
  ui::Panel TopRightPanel3{&TopPanel3, "TopRightPanel3"};
  ui::Panel TopRightLeftPanel3{&TopRightPanel3, "TopRightLeftPanel3"};
  ui::Edit DirEdit{&TopRightLeftPanel3, "DirEdit"};
  ui::Panel TopRightRightPanel3{&TopRightPanel3, "TopRightRightPanel3"};
  ui::Panel NewFolderButtonPanel{&TopRightRightPanel3, "NewFolderButtonPanel"};
  ui::SpeedButton NewFolderButton{&NewFolderButtonPanel, "NewFolderButton"};
  ui::Panel BottomPanel3{&Panel3, "BottomPanel3"};
  ui::Panel BottomLeftPanel3{&BottomPanel3, "BottomLeftPanel3"};
  ui::CheckBox ReadMeCheckBox{&BottomLeftPanel3, "ReadMeCheckBox"};
  ui::Label ChangeLabel{&BottomLeftPanel3, "ChangeLabel", 9, 32};
  ui::Label THENCPathLabel1{&BottomLeftPanel3, "THENCPathLabel1", 9, 50};
  ui::Label THManagerPathLabel1{&BottomLeftPanel3, "THManagerPathLabel1", 9, 50};
  ui::Panel BottomRightPanel3{&BottomPanel3, "BottomRightPanel3"};
  ui::Panel BottomRightTopPanel3{&BottomRightPanel3, "BottomRightTopPanel3"};
  ui::Label ProgressLabel{&BottomRightPanel3, "ProgressLabel", 8, 35};
  ui::ProgressBar ProgressBar1{&BottomRightPanel3, "ProgressBar1"};
  ui::Panel LeftPanel3{&Panel3, "LeftPanel3"};
  ui::Panel LeftTopPanel3{&LeftPanel3, "LeftTopPanel3"};
  ui::DirectoryListBox DirectoryListBox1{&LeftTopPanel3, "DirectoryListBox1"};
  ui::Panel LeftBottomPanel3{&LeftPanel3, "LeftBottomPanel3"};
  ui::DriveComboBox DriveComboBox1{&LeftBottomPanel3, "DriveComboBox1"};
  ui::Panel RightPanel3{&Panel3, "RightPanel3"};
  ui::Panel RightTopPanel3{&RightPanel3, "RightTopPanel3"};
  ui::FileListBox FileListBox1{&RightTopPanel3, "FileListBox1"};
  ui::FilterComboBox FilterComboBox1{&RightTopPanel3, "FilterComboBox1"};
  ui::Panel RightBottomPanel3{&RightPanel3, "RightBottomPanel3"};
  ui::Label FreeSpaceLabel{&RightBottomPanel3, "FreeSpaceLabel", 4, 6};
  ui::Label TotalSpaceLabel{&RightBottomPanel3, "TotalSpaceLabel", 4, 22};
  ui::Label ProportionalLabel{&RightBottomPanel3, "ProportionalLabel", 4, 38};

  // The current new-folder window; program start makes the first one.
  TFindForm2* FindForm2 = nullptr;

  // Where the disk figures come from (drive number as platform::DiskFree takes it).
  std::function<std::int64_t(unsigned char)> DiskFree;
  std::function<std::int64_t(unsigned char)> DiskSize;

  // Wizard, language and closing.
  void NextButtonClick(ui::Object* Sender);
  void AcceptCheckBoxClick(ui::Object* Sender);
  void Polski1Click(ui::Object* Sender);
  void English1Click(ui::Object* Sender);
  void FormCloseQuery(ui::Object* Sender, bool& CanClose);

  // The folder page.
  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void DirectoryListBox1Change(ui::Object* Sender);
  void DiscEditChange(ui::Object* Sender);
  void DriveComboBox1Change(ui::Object* Sender);
  void NewFolderButtonClick(ui::Object* Sender);
  void UpdateDiskSpaceLabels();

  // The installation steps, in the order an Install press runs them.
  void CreateEncyclopaediaFolder();
  void ExtractEncyclopaediaFiles();
  void WriteEncyclopaediaKey();
  void WriteEncyclopaediaUninstallEntry();
  void OpenReadme();
  void CreateManagerFolder();
  void ExtractManagerFiles();
  void WriteManagerKey();
  void WriteManagerUninstallEntry();
  void CreateEncyclopaediaShortcut();
  void CreateUpdaterShortcut();
  void CreateManagerShortcut();
  void FillProgressBar();

 private:
  // The product folder that the last folder step made anew (full path); empty when it was there.
  std::string newProductFolder_;
  void Install();
  void SwitchLanguage(shared::Language language);
  // The texts of the language switch, set unconditionally.
  void SetTexts(shared::Language language);
  void ApplyBackslashRule();
  void CreateProductFolder(const shared::Product& product);
  void ExtractFiles(const shared::Product& product, ui::Label& pathLabel,
                    std::span<const PayloadRow> rows);
  void WriteProductKey(const shared::Product& product, ui::Label& pathLabel);
  void WriteUninstallEntry(const shared::Product& product, ui::Label& pathLabel);
  void CreateShortcut(ui::Label& pathLabel, const char* fileName, const char* linkName);
};

}  // namespace installer
