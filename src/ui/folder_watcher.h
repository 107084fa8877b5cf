// Watches one folder (not its sub-folders) on a thread of its own and hands each change to the
// user-interface thread as a synchronised call. Bursts of changes (a copy of many files) come
// as one call. Stop it from the user-interface thread: no call comes after that.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/thread.h"

namespace ui {

class FolderWatcher : public Thread {
 public:
  FolderWatcher(const std::string& folder, std::function<void()> onChange);
  ~FolderWatcher() override;
  void Stop();

 protected:
  void Execute() override;

 private:
  std::wstring folder_;
  std::function<void()> onChange_;
  HANDLE stop_;
  HANDLE change_;
};

}  // namespace ui
