#include <windows.h>

#include "ui/application.h"

class TForm1 : public ui::Form {
 public:
  TForm1() : Form("Form1") {
    SetCaption("Program Update");
    SetClientSize(632, 453);
  }
};

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  auto& app = ui::Application::Instance();
  app.SetTitle("Program Updater");
  app.CreateForm<TForm1>();
  app.Run();
  return 0;
}
