// The updater's one window: it fetches the published version file, compares its version with the
// encyclopaedia version built in, and on the user's consent downloads the new package into a file
// that the user picks. Every step is one line of the log.
#pragma once
#include <string>
#include <string_view>

#include "shared/language.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/progress_bar.h"
#include "ui/save_dialog.h"
#include "ui/speed_button.h"
#include "updater/http_get.h"

namespace updater {

// The host of the suite's web server (with ":port" when it is not 80), chosen at build time.
extern const char kUpdateHost[];

class TForm1 : public ui::Form {
 public:
  TForm1();
  // A version check still writing its file leaves no part of it behind.
  ~TForm1() override;

  ui::Panel Panel1{this, "Panel1"};
  ui::SpeedButton SpeedButton1{&Panel1, "SpeedButton1"};
  ui::SpeedButton LangButton{&Panel1, "LangButton"};
  ui::Panel Panel2{this, "Panel2"};
  ui::Panel LeftPanel2{&Panel2, "LeftPanel2"};
  ui::Image Image1{&LeftPanel2, "Image1"};
  ui::Image Image2{&LeftPanel2, "Image2"};
  ui::SpeedButton WindowButton{&LeftPanel2, "WindowButton"};
  ui::SpeedButton CloseButton{&LeftPanel2, "CloseButton"};
  ui::Panel LeftBottomPanel2{&LeftPanel2, "LeftBottomPanel2"};
  ui::Label Label1{&LeftBottomPanel2, "Label1", 20, 2, "Progress:"};
  ui::ProgressBar ProgressBar1{&LeftBottomPanel2, "ProgressBar1"};
  ui::Panel ClientPanel2{&Panel2, "ClientPanel2"};
  ui::Panel TopPanel2{&ClientPanel2, "TopPanel2"};
  ui::Image Image3{&TopPanel2, "Image3"};
  ui::Memo Memo1{&ClientPanel2, "Memo1"};
  ui::Panel BottomPanel2{&ClientPanel2, "BottomPanel2"};
  ui::Panel RightPanel2{&Panel2, "RightPanel2"};
  THTTPGet HTTPGet1{"HTTPGet1"};
  THTTPGet HTTPGet2{"HTTPGet2"};
  ui::PopupMenu PopupMenu1{this, "PopupMenu1"};
  ui::MenuItem English1{&PopupMenu1, "English1", "English"};
  ui::MenuItem Polski1{&PopupMenu1, "Polski1", "Polski"};
  ui::SaveDialog SaveDialog1{this, "SaveDialog1"};
  shared::LanguageItems Lang{English1, Polski1};

  // Where the version file is fetched from; tests point it at their own server.
  std::string UpdateHost = kUpdateHost;

  void SpeedButton1Click(ui::Object* Sender);
  void HTTPGet1DoneFile(ui::Object* Sender, const std::string& FileName, int FileSize);
  void HTTPGet1Error(ui::Object* Sender);
  void HTTPGet2Progress(ui::Object* Sender, int TotalSize, int Readed);
  void HTTPGet2DoneFile(ui::Object* Sender, const std::string& FileName, int FileSize);
  void HTTPGet2Error(ui::Object* Sender);
  void Polski1Click(ui::Object* Sender);
  void English1Click(ui::Object* Sender);
  void LangButtonClick(ui::Object* Sender);
  void WindowButtonClick(ui::Object* Sender);
  void CloseButtonClick(ui::Object* Sender);
  void FormCloseQuery(ui::Object* Sender, bool& CanClose);

 private:
  void SwitchLanguage(shared::Language language);
  // One line at the end of the log, in the active language.
  void Log(std::string_view english, std::string_view polish);
};

inline constexpr char kTitle[] = "Program Updater";

// Program start, shared by the program and its tests: the application title, then the window.
TForm1* CreateUpdaterWindow();

}  // namespace updater
