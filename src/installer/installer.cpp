#include "installer/installer.h"

#include "ui/application.h"

namespace installer {

TForm1* CreateInstallerWindows() {
  auto& app = ui::Application::Instance();
  app.SetTitle(kTitle);
  TForm1* wizard = app.CreateForm<TForm1>();
  wizard->FindForm2 = app.CreateForm<TFindForm2>(*wizard);
  return wizard;
}

}  // namespace installer
