// Program start of the installer, shared by the program and its tests.
#pragma once
#include "installer/find_form.h"
#include "installer/wizard_form.h"

namespace installer {

inline constexpr char kTitle[] = "TH Encyclopaedia Installer";

// Sets the application title, creates the wizard (the main window) and the first new-folder
// window, which stays hidden.
TForm1* CreateInstallerWindows();

}  // namespace installer
