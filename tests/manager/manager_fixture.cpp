#include "manager_fixture.h"

#include <windows.h>

#include <sstream>

#include "platform/files.h"
#include "platform/text.h"
#include "support/window_driver.h"
#include "ui/application.h"

using namespace testing_support;

ManagerTest::ManagerTest() { DeleteFileW(platform::Widen(manager::SettingsFile()).c_str()); }

ManagerTest::~ManagerTest() {
  Stop();
  DeleteFileW(platform::Widen(manager::SettingsFile()).c_str());
}

manager::TAppForm1& ManagerTest::Start() {
  manager::StartProgram();
  manager::Slots().AppForm1->Show();
  return *manager::Slots().AppForm1;
}

void ManagerTest::Stop() {
  ui::Application::Instance().Reset();
  manager::Slots() = {};
}

std::string ManagerTest::SetGameFolder() {
  std::string folder = temp.Path() + "Tarnholm Game";
  CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  registry.SetString("Software\\Korvel\\Tarnholm", "PATH", folder);
  return folder;
}

void ManagerTest::WriteSettings(const std::string& text) { WriteFileBytes(manager::SettingsFile(), text); }

std::string ManagerTest::Settings() const { return ReadFileBytes(manager::SettingsFile()); }

bool ManagerTest::SettingsExist() const { return platform::FileExists(manager::SettingsFile()); }

void ManagerTest::InstallStubGame(const std::string& folder) {
  InstallStub(platform::WithTrailingBackslash(folder) + "Tarn.exe");
}

void ManagerTest::InstallStub(const std::string& file) {
  for (size_t sep = file.find('\\', 3); sep != std::string::npos; sep = file.find('\\', sep + 1))
    CreateDirectoryW(platform::Widen(file.substr(0, sep)).c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(platform::Widen(platform::ExeFolder() + "stub\\Tarn.exe").c_str(),
                        platform::Widen(file).c_str(), FALSE));
}

namespace {

std::vector<std::string> RecordedLines(const std::string& record, size_t expected) {
  std::vector<std::string> lines;
  WaitFor([&] {
    std::istringstream in(ReadFileBytes(record));
    lines.clear();
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines.size() >= expected;
  });
  return lines;
}

}  // namespace

std::vector<std::string> ManagerTest::GameStarts(const std::string& folder, size_t expected) {
  return RecordedLines(platform::WithTrailingBackslash(folder) + "commandline.txt", expected);
}

std::vector<std::string> ManagerTest::StartedPaths(const std::string& folder, size_t expected) {
  return RecordedLines(platform::WithTrailingBackslash(folder) + "started.txt", expected);
}
