// The updater's window in English and in Polish.
#include "capture.h"
#include "ui/application.h"
#include "updater/update_form.h"

int wmain() {
  screenshots::QuietDialogs quiet;
  std::string out = screenshots::OutputFolder();
  auto& app = ui::Application::Instance();
  app.SetTitle("Program Updater");
  updater::TForm1& window = *app.CreateForm<updater::TForm1>();
  screenshots::Photograph(window, out, "updater-en");
  window.Polski1Click(&window.Polski1);
  screenshots::Photograph(window, out, "updater-pl");
  return 0;
}
