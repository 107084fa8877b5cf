// Starts the manager as its program does, against a scratch registry and a settings file of the
// test's own, and cleans up afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"

class ManagerTest : public ::testing::Test {
 protected:
  ManagerTest();
  ~ManagerTest() override;

  // Program start: the nine windows, then the main window's first display.
  manager::TAppForm1& Start();
  // Ends the program's windows, as a restart would.
  void Stop();

  // The game's key, as its own installer writes it, naming an existing folder.
  std::string SetGameFolder();
  void WriteSettings(const std::string& text);
  std::string Settings() const;  // empty when the file is missing
  bool SettingsExist() const;

  // The stand-in game, copied into a game folder as Tarn.exe; its records.
  void InstallStubGame(const std::string& folder);
  std::vector<std::string> GameStarts(const std::string& folder, size_t expected);
  // The same stand-in as any program (folders made as needed), and the paths it ran from.
  void InstallStub(const std::string& file);
  std::vector<std::string> StartedPaths(const std::string& folder, size_t expected);

  testing_support::ScratchRegistry registry;
  testing_support::TempDir temp;
  testing_support::ScriptedDialogs dialogs;
};
