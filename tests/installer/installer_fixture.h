// The installer's windows as program start makes them, with every box scripted.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "installer/installer.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"

namespace installer_tests {

class InstallerTest : public ::testing::Test {
 public:
  void SetUp() override {
    form = installer::CreateInstallerWindows();
    // Notepad would outlive the test; the readme has tests of its own.
    form->ReadMeCheckBox.SetChecked(false);
  }
  void TearDown() override { ui::Application::Instance().Reset(); }

  // Page 1 to page 3, the licence accepted.
  void GoToFolderPage() {
    form->NextButton.Click();
    form->AcceptCheckBox.Click();
    form->NextButton.Click();
  }
  void Tick(bool encyclopaedia, bool manager) {
    form->InstallCheckBox1.SetChecked(encyclopaedia);
    form->InstallCheckBox2.SetChecked(manager);
  }
  // Installs the ticked products under the parent folder, answering the shortcut question No.
  void InstallInto(const std::string& parent) {
    GoToFolderPage();
    form->DirEdit.SetText(parent);
    dialogs.Answer({IDOK, IDNO});
    form->NextButton.Click();
  }

  testing_support::ScriptedDialogs dialogs;
  installer::TForm1* form = nullptr;
};

// A folder path without its trailing backslash, as a user types it.
inline std::string WithoutBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace installer_tests
