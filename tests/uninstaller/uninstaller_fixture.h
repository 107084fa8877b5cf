// What the uninstaller's tests share: a scratch machine registry, a scratch folder that also
// receives the self-removal batch, recorded boxes, and the window of either build.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/fixtures.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "uninstaller/self_removal.h"
#include "uninstaller/uninstall_form.h"

namespace uninstaller_tests {

// Sets an environment variable of this process (and the programs it starts) until the object goes.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const std::string& name, const std::string& value);
  ~EnvironmentOverride();
  EnvironmentOverride(const EnvironmentOverride&) = delete;

 private:
  std::wstring name_;
  std::wstring old_;
  bool had_;
};

// Keeps a file open without delete sharing, as a running program keeps its own file.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;

 private:
  HANDLE handle_;
};

// Keeps a program file mapped as a program's image, as a running program keeps its own: it can be
// renamed or moved within its volume, but not deleted. The file at the path becomes a copy of a
// small program of the system.
class RunningImage {
 public:
  explicit RunningImage(const std::string& path);
  ~RunningImage();
  RunningImage(const RunningImage&) = delete;
  bool Mapped() const { return view_ != nullptr; }
  // Unmaps it, as the program's end does.
  void End();

 private:
  void* view_ = nullptr;
};

// A symbolic link made on the machine's side, which Wine shows as a link (a folder link with the
// reparse-point attribute); the link alone goes at the end, never what it points to.
class UnixLink {
 public:
  UnixLink(const std::string& target, const std::string& link);
  ~UnixLink();
  UnixLink(const UnixLink&) = delete;
  bool Made() const { return made_; }

 private:
  std::string link_;
  bool made_;
};

// A folder of its own on drive N:, which the test prefix declares a network drive in Wine's drive
// settings (scripts/env.sh), so that GetDriveTypeW answers DRIVE_REMOTE for it in every program;
// removed with everything in it at the end.
class NetworkFolder {
 public:
  NetworkFolder();
  ~NetworkFolder();
  NetworkFolder(const NetworkFolder&) = delete;
  bool Declared() const { return declared_; }
  // The folder with its trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
  bool declared_ = false;
};

// Waits until no self-removal batch, nor a folder of one, is left in the folder: each batch
// deletes its folder and then itself last.
bool BatchesGone(const std::string& folder);

// Registry paths as ScratchRegistry takes them (below the redirected root).
std::string KeyPath(const shared::Product& product);
std::string EntryPath(const shared::Product& product);
// A product's two records as the installer writes them, and a subkey below the product key.
void WriteRecords(testing_support::ScratchRegistry& registry, const shared::Product& product,
                  const std::string& folder);

// Every path below the folder, relative to it, sorted; folders too.
std::vector<std::string> ListTree(const std::string& folder);

class UninstallerTest : public ::testing::Test {
 protected:
  void TearDown() override;
  // The window of the build with these data; its self-removal targets a stand-in file of the
  // test, never the test program itself.
  uninstaller::TForm1& MakeForm(const uninstaller::UninstallProductData& data);
  // Waits until a batch that the window started (in the temporary folder given, the test's own by
  // default) has deleted the stand-in that it moved aside, the folder that received it, and then
  // itself; false when there was no batch or any of them stayed.
  bool AwaitSelfRemoval(const std::string& tempFolder = {});
  // The batch of this process, which holds the window, and the folder that receives its file.
  std::string BatchPath(const std::string& tempFolder = {}) const {
    return (tempFolder.empty() ? temp.Path() : tempFolder) + uninstaller::kBatchFileStem +
           std::to_string(GetCurrentProcessId()) + ".bat";
  }
  std::string AsideFolder(const std::string& tempFolder = {}) const {
    std::string batch = BatchPath(tempFolder);
    return batch.substr(0, batch.size() - 4) + "\\";
  }
  std::string StandInExe() const { return temp / "StandIn\\uninstall.exe"; }

  testing_support::ScriptedDialogs dialogs;
  testing_support::ScratchRegistry registry;
  testing_support::TempDir temp;
  EnvironmentOverride tmp{"TMP", temp.Path()};
};

}  // namespace uninstaller_tests
