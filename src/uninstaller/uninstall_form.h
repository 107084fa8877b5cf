// The uninstaller's window: a welcome page, then the page that removes the product's files and
// registry records. The product comes from the build's data set.
#pragma once
#include <string>

#include "shared/wizard_form.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/progress_bar.h"
#include "uninstaller/product_data.h"

namespace uninstaller {

class TForm1 : public shared::WizardForm {
 public:
  explicit TForm1(const UninstallProductData& data);

  // Page 1: welcome.
  ui::Label TitleLabel{&Panel1, "TitleLabel", 32, 32};
  ui::Label TextLabel1{&Panel1, "TextLabel1", 32, 70};
  ui::Label TextLabel2{&Panel1, "TextLabel2", 32, 105};
  ui::Label TextLabel3{&Panel1, "TextLabel3", 32, 137};
  // Page 2: removal.
  ui::Panel Panel2{&ClientFramePanel, "Panel2"};
  ui::Panel TopPanel3{&Panel2, "TopPanel3"};
  ui::Panel TopLeftPanel3{&TopPanel3, "TopLeftPanel3"};
  ui::Label OutputLabel{&TopLeftPanel3, "OutputLabel", 9, 30};
  ui::Panel TopRightMarginPanel3{&TopPanel3, "TopRightMarginPanel3"};
  ui::Panel TopRightPanel3{&TopPanel3, "TopRightPanel3"};
  ui::Edit DirEdit{&TopRightPanel3, "DirEdit"};
  ui::Label UninstallLabel1{&Panel2, "UninstallLabel1", 11, 70};
  ui::Label NameLabel1{&Panel2, "NameLabel1", 11, 105};
  ui::Panel BottomPanel3{&Panel2, "BottomPanel3"};
  ui::Panel BottomLeftPanel3{&BottomPanel3, "BottomLeftPanel3"};
  ui::Panel BottomRightPanel3{&BottomPanel3, "BottomRightPanel3"};
  ui::Panel BottomRightTopPanel3{&BottomRightPanel3, "BottomRightTopPanel3"};
  ui::Label ProgressLabel{&BottomRightPanel3, "ProgressLabel", 8, 35};
  ui::ProgressBar ProgressBar1{&BottomRightPanel3, "ProgressBar1"};

  // This program's own file, which the close moves aside for the self-removal batch to delete.
  std::string ExecutablePath;

  void NextButtonClick(ui::Object* Sender);
  void Polski1Click(ui::Object* Sender);
  void English1Click(ui::Object* Sender);
  void FormCloseQuery(ui::Object* Sender, bool& CanClose);
  // Fills DirEdit with the product folder recorded in the registry.
  void FormShow(ui::Object* Sender);
  // After the removal step: hands the deletion of this program's file to a hidden batch.
  void FormClose(ui::Object* Sender, ui::CloseAction& Action);

  enum class Removal {
    Finished,  // every entry handled; what could not be deleted stays
    Refused,   // nothing deleted: the text does not name the product's own folder (HeldFolder)
    Stopped,   // ended early: the folder is no longer the one checked, so files may remain
  };
  // Deletes the files directly inside the folder named by DirEdit (with or without its trailing
  // backslash), showing each name and the progress; subfolders, links to folders and files that
  // cannot be deleted stay. Refused while the text does not name the product's own folder on a
  // local fixed disk, reached through no link; Stopped when, while it runs, the text comes to name
  // no such folder or the recorded path no longer leads to the folder held.
  Removal DeleteFolderFiles();
  // Deletes the product's key and its uninstall entry, each with everything under it.
  void DeleteRegistryKeys();

 private:
  // The removal step: the folder's files, the box, the records.
  void Remove();
  void SwitchTexts(bool polish);
  // The welcome lines one under the other: a line that wraps moves the lines below it down.
  void PlaceWelcomeLines();
  void ShowPageBox(const std::string& english, const std::string& polish, unsigned icon);

  const UninstallProductData& data_;
};

inline constexpr char kTitle[] = "TH Encyclopaedia Deinstaller";

// Program start, shared by the program and its tests: the application title, then the window
// of the product that the build removes.
TForm1* CreateUninstallerWindow(const UninstallProductData& data);

}  // namespace uninstaller
