#include "uninstaller_fixture.h"

#include <windows.h>

#include <algorithm>

#include "platform/directory_search.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/unix_side.h"
#include "support/window_driver.h"
#include "ui/application.h"

using platform::Widen;

namespace uninstaller_tests {

EnvironmentOverride::EnvironmentOverride(const std::string& name, const std::string& value)
    : name_(Widen(name)) {
  wchar_t buffer[32768];
  DWORD n = GetEnvironmentVariableW(name_.c_str(), buffer, 32768);
  had_ = n > 0 && n < 32768;
  if (had_) old_.assign(buffer, n);
  SetEnvironmentVariableW(name_.c_str(), Widen(value).c_str());
}

EnvironmentOverride::~EnvironmentOverride() {
  SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() { CloseHandle(handle_); }

RunningImage::RunningImage(const std::string& path) {
  wchar_t system[MAX_PATH];
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  std::wstring program = std::wstring(system, n) + L"\\notepad.exe";
  if (!CopyFileW(program.c_str(), Widen(path).c_str(), FALSE)) return;
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_EXECUTE,
                            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY | SEC_IMAGE, 0, 0, nullptr);
  if (mapping) view_ = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  if (mapping) CloseHandle(mapping);
  CloseHandle(file);
}

RunningImage::~RunningImage() { End(); }

void RunningImage::End() {
  if (view_) UnmapViewOfFile(view_);
  view_ = nullptr;
}

namespace {
std::string WithoutBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}
}  // namespace

UnixLink::UnixLink(const std::string& target, const std::string& link)
    : link_(testing_support::UnixPath(WithoutBackslash(link))) {
  std::string to = testing_support::UnixPath(WithoutBackslash(target));
  made_ = !link_.empty() && !to.empty() &&
          testing_support::RunUnixCommand("ln -s '" + to + "' '" + link_ + "'");
}

UnixLink::~UnixLink() {
  if (made_) testing_support::RunUnixCommand("rm '" + link_ + "'");
}

NetworkFolder::NetworkFolder() {
  declared_ = GetDriveTypeW(L"N:\\") == DRIVE_REMOTE;
  if (!declared_) return;
  path_ = "N:\\th-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()) + "\\";
  declared_ = CreateDirectoryW(Widen(path_).c_str(), nullptr);
}

NetworkFolder::~NetworkFolder() {
  if (declared_) testing_support::RemoveTree(path_);
}

bool BatchesGone(const std::string& folder) {
  return testing_support::WaitFor([&] {
    platform::DirectorySearch search(folder + uninstaller::kBatchFileStem + "*");
    return !search.Found();
  }, 60000);
}

std::string KeyPath(const shared::Product& product) { return product.KeyPath().substr(1); }
std::string EntryPath(const shared::Product& product) { return product.EntryPath().substr(1); }

void WriteRecords(testing_support::ScratchRegistry& registry, const shared::Product& product,
                  const std::string& folder) {
  registry.SetString(KeyPath(product), shared::kPathValue, folder);
  registry.SetString(KeyPath(product), shared::kVerValue, product.version);
  registry.SetString(KeyPath(product) + "\\Options", "Shown", "1");
  registry.SetString(EntryPath(product), shared::kDisplayNameValue, product.entryName);
  registry.SetString(EntryPath(product), shared::kUninstallStringValue,
                     folder + shared::kUninstallExe);
}

namespace {
void ListInto(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
  for (platform::DirectorySearch search(folder + "*"); search.Found(); search.Next()) {
    if (search.IsDotEntry()) continue;
    out.push_back(prefix + search.Name());
    if (search.IsFolder())
      ListInto(folder + search.Name() + "\\", prefix + search.Name() + "\\", out);
  }
}
}  // namespace

std::vector<std::string> ListTree(const std::string& folder) {
  std::vector<std::string> out;
  ListInto(folder, "", out);
  std::sort(out.begin(), out.end());
  return out;
}

void UninstallerTest::TearDown() {
  ui::Application::Instance().Reset();
  AwaitSelfRemoval();
}

bool UninstallerTest::AwaitSelfRemoval(const std::string& tempFolder) {
  // A batch that already did its work has gone with the stand-in and its folder.
  if (!platform::FileExists(BatchPath(tempFolder)) && platform::FileExists(StandInExe())) return false;
  std::string aside = AsideFolder(tempFolder);
  bool removed = testing_support::WaitFor(
      [&] { return !platform::FileExists(StandInExe()) && !platform::DirectoryExists(aside); }, 60000);
  return BatchesGone(tempFolder.empty() ? temp.Path() : tempFolder) && removed;
}

uninstaller::TForm1& UninstallerTest::MakeForm(const uninstaller::UninstallProductData& data) {
  auto* form = uninstaller::CreateUninstallerWindow(data);
  CreateDirectoryW(Widen(temp / "StandIn").c_str(), nullptr);
  testing_support::WriteFileBytes(StandInExe(), "MZ");
  form->ExecutablePath = StandInExe();
  return *form;
}

}  // namespace uninstaller_tests
