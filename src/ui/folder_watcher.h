// Watches one folder (not its sub-folders) on a thread of its own. After each change, or burst of
// changes (a copy of many files), it calls onChange on its own thread, where the slow part of the
// work is done, and runs what that returns on the user-interface thread as a synchronised call.
// Stop it from the user-interface thread: nothing runs there after that.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/thread.h"

namespace ui {

class FolderWatcher : public Thread {
 public:
  using ChangeEvent = std::function<std::function<void()>()>;
  FolderWatcher(const std::string& folder, ChangeEvent onChange);
  ~FolderWatcher() override;
  void Stop();

 protected:
  void Execute() override;

 private:
  std::wstring folder_;
  ChangeEvent onChange_;
  HANDLE stop_;
  HANDLE change_;
};

}  // namespace ui
