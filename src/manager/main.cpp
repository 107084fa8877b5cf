#include <windows.h>

#include "ui/application.h"

class TAppForm1 : public ui::Form {
 public:
  TAppForm1() : Form("AppForm1") {
    SetCaption("Tarnholm Manager");
    SetClientSize(892, 704);
  }
};

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  auto& app = ui::Application::Instance();
  app.SetTitle("ZO Ruruzuz");
  app.CreateForm<TAppForm1>();
  app.Run();
  return 0;
}
