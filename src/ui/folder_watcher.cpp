#include "ui/folder_watcher.h"

#include "platform/text.h"

namespace ui {
namespace {
// How long the folder must stay quiet before a burst of changes counts as over, and how long a
// burst may last at most before the list is refreshed anyway.
constexpr DWORD kQuietMs = 50;
constexpr int kMaxQuietRounds = 20;
}  // namespace

FolderWatcher::FolderWatcher(const std::string& folder, ChangeEvent onChange)
    : folder_(platform::Widen(folder)),
      onChange_(std::move(onChange)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      // Armed here, on the caller's thread, so that no change made after this is missed.
      change_(FindFirstChangeNotificationW(
          folder_.c_str(), FALSE,
          FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES |
              FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) {}

FolderWatcher::~FolderWatcher() {
  if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_);
  CloseHandle(stop_);
}

void FolderWatcher::Stop() {
  Terminate();
  SetEvent(stop_);
}

void FolderWatcher::Execute() {
  HANDLE change = change_;
  if (change == INVALID_HANDLE_VALUE) return;
  HANDLE handles[2] = {stop_, change};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    FindNextChangeNotification(change);
    for (int round = 0; round < kMaxQuietRounds; ++round) {
      DWORD r = WaitForMultipleObjects(2, handles, FALSE, kQuietMs);
      if (r != WAIT_OBJECT_0 + 1) break;
      FindNextChangeNotification(change);
    }
    if (Terminated()) break;
    std::function<void()> show = onChange_();
    if (Terminated()) break;
    // Stop runs on the user-interface thread too, so this test there cannot race with it.
    Synchronize([&] {
      if (!Terminated() && show) show();
    });
  }
}

}  // namespace ui
