// A stand-in for a distributed program that the build was not given: a window that says which
// program it stands in for, so that an installation made without the real files still works.
#include <windows.h>

#include "ui/application.h"
#include "ui/label.h"

namespace {

class TStandInForm : public ui::Form {
 public:
  TStandInForm() : Form("StandInForm") {
    SetCaption(TH_STANDIN_PRODUCT);
    SetClientSize(660, 84);
    ui::Font font;
    font.name = "Tahoma";
    SetFont(font);
    English.SetCaption("This program stands in for " TH_STANDIN_PRODUCT " (" TH_STANDIN_FILE
                       "), which this build of the installer does not carry.");
    Polish.SetCaption("Ten program zastępuje " TH_STANDIN_PRODUCT " (" TH_STANDIN_FILE
                      "), którego ta wersja instalatora nie zawiera.");
  }
  ui::Label English{this, "English", 16, 20};
  ui::Label Polish{this, "Polish", 16, 48};
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  auto& app = ui::Application::Instance();
  app.SetTitle(TH_STANDIN_PRODUCT);
  app.CreateForm<TStandInForm>();
  app.Run();
  return 0;
}
