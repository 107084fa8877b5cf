// Desktop shortcuts after the question, in the desktop folder that the current user's shell
// records.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "installer_fixture.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/fixtures.h"

namespace installer_tests {
namespace {

using platform::Narrow;
using platform::Widen;
using testing_support::ScratchRegistry;
using testing_support::TempDir;

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The files that appear in a folder, in the order the file system reports them.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder) {
    dir_ = CreateFileW(Widen(folder).c_str(), FILE_LIST_DIRECTORY,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    overlapped_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Issue();
  }
  ~FolderWatch() {
    CancelIoEx(dir_, &overlapped_);
    DWORD n;
    GetOverlappedResult(dir_, &overlapped_, &n, TRUE);
    CloseHandle(overlapped_.hEvent);
    CloseHandle(dir_);
  }
  std::vector<std::string> Added(size_t expected) {
    while (names_.size() < expected && WaitForSingleObject(overlapped_.hEvent, 10000) == WAIT_OBJECT_0) {
      DWORD bytes = 0;
      GetOverlappedResult(dir_, &overlapped_, &bytes, FALSE);
      for (size_t offset = 0; bytes;) {
        auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer_ + offset);
        std::string name = Narrow(std::wstring_view(info->FileName, info->FileNameLength / 2));
        bool added = info->Action == FILE_ACTION_ADDED || info->Action == FILE_ACTION_RENAMED_NEW_NAME;
        if (added && std::find(names_.begin(), names_.end(), name) == names_.end())
          names_.push_back(name);
        if (!info->NextEntryOffset) break;
        offset += info->NextEntryOffset;
      }
      ResetEvent(overlapped_.hEvent);
      Issue();
    }
    return names_;
  }

 private:
  void Issue() {
    ReadDirectoryChangesW(dir_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                          &overlapped_, nullptr);
  }
  HANDLE dir_;
  OVERLAPPED overlapped_{};
  alignas(DWORD) char buffer_[16384];
  std::vector<std::string> names_;
};

struct Link {
  std::string target;
  std::string folder;
};

Link LoadLink(const std::string& file) {
  Link result;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return result;
  IPersistFile* persist = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  if (persist && SUCCEEDED(persist->Load(Widen(file).c_str(), STGM_READ))) {
    wchar_t text[MAX_PATH] = L"";
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    result.target = Narrow(text);
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH);
    result.folder = Narrow(text);
  }
  if (persist) persist->Release();
  link->Release();
  return result;
}

std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Widen(folder + "*.lnk").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(Narrow(fd.cFileName));
  while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

class ShortcutTest : public InstallerTest {
 protected:
  void SetUp() override {
    InstallerTest::SetUp();
    user.SetString(kShellFolders, "Desktop", WithoutBackslash(desktop.Path()));
  }
  void Install(int answer) {
    GoToFolderPage();
    form->DirEdit.SetText(products.Path());
    dialogs.Answer({IDOK, answer});
    form->NextButton.Click();
  }
  ScratchRegistry user{HKEY_CURRENT_USER};
  ScratchRegistry machine;
  TempDir products;
  TempDir desktop;
};

TEST_F(ShortcutTest, YesSavesTheThreeLinksInOrderEachStartingInItsFolder) {
  Tick(true, true);
  FolderWatch watch(desktop.Path());
  Install(IDYES);
  EXPECT_EQ(watch.Added(3),
            (std::vector<std::string>{"THENC.lnk", "THENCUpdater.lnk", "THManager.lnk"}));
  std::string encyclopaedia = products / "Tarnholm Encyclopaedia\\";
  std::string manager = products / "Tarnholm Manager\\";
  struct Expected {
    const char* link;
    std::string target;
    std::string folder;
  };
  const Expected links[] = {
      {"THENC.lnk", encyclopaedia + "THENC.exe", encyclopaedia},
      {"THENCUpdater.lnk", encyclopaedia + "THENCUpdater.exe", encyclopaedia},
      {"THManager.lnk", manager + "THManager.exe", manager},
  };
  for (const Expected& e : links) {
    SCOPED_TRACE(e.link);
    Link link = LoadLink(desktop / e.link);
    EXPECT_TRUE(platform::EqualsIgnoreCase(link.target, e.target)) << link.target;
    EXPECT_TRUE(platform::EqualsIgnoreCase(WithoutBackslash(link.folder), WithoutBackslash(e.folder)))
        << link.folder;
  }
  EXPECT_EQ(form->CancelButton.Caption(), "Finish");
}

TEST_F(ShortcutTest, OnlyTheTickedProductsGetLinksAndNoGetsNone) {
  struct Case {
    const char* name;
    bool encyclopaedia, manager;
    int answer;
    std::vector<std::string> links;
  };
  const Case cases[] = {
      {"manager, Yes", false, true, IDYES, {"THManager.lnk"}},
      {"encyclopaedia, Yes", true, false, IDYES, {"THENC.lnk", "THENCUpdater.lnk"}},
      {"manager, No", false, true, IDNO, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    InstallerTest::SetUp();
    for (const std::string& file : Files(desktop.Path())) platform::DeleteFileAt(desktop / file);
    Tick(c.encyclopaedia, c.manager);
    Install(c.answer);
    EXPECT_EQ(Files(desktop.Path()), c.links);
    EXPECT_EQ(form->CancelButton.Caption(), "Finish");
  }
}

TEST_F(ShortcutTest, WithoutARecordedDesktopNoLinkIsMade) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(kShellFolders).c_str(), L"Desktop");
  Tick(false, true);
  Install(IDYES);
  EXPECT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(form->CancelButton.Caption(), "Finish");
  EXPECT_TRUE(Files(desktop.Path()).empty());
  EXPECT_FALSE(platform::FileExists("\\THManager.lnk")) << "nothing lands in the drive's root";
}

TEST_F(ShortcutTest, ADesktopValueThatIsNoTextEndsThePress) {
  user.SetDword(kShellFolders, "Desktop", 1);
  Tick(false, true);
  Install(IDYES);
  ASSERT_EQ(dialogs.boxes.size(), 3u);
  EXPECT_EQ(dialogs.boxes[2].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[2].text, "Invalid data type for 'Desktop'");
  EXPECT_EQ(form->CancelButton.Caption(), "Cancel");
}

}  // namespace
}  // namespace installer_tests
