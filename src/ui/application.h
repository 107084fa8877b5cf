// The application object: title, the forms it owns, the main form, the message loop, the
// standard error box, and the door through which worker threads reach the user-interface thread.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/form.h"

namespace ui {

class Application {
 public:
  // The one application object; the thread that first asks for it is the user-interface thread.
  static Application& Instance();

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& t) { title_ = t; }
  Form* MainForm() const { return mainForm_; }

  // Creates a form owned by the application; the first one becomes the main form. OnCreate runs
  // once the form's design is built.
  template <class T, class... Args>
  T* CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = form.get();
    forms_.push_back(std::move(form));
    if (!mainForm_) mainForm_ = raw;
    raw->DoCreate();
    return raw;
  }

  // Shows the main form and dispatches messages until the program is told to end.
  void Run();
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Frees every form and forgets the main form, so that a test can start over.
  void Reset();
  void FormDestroyed(Form* form);
  // Frees a form the program no longer uses, with its windows. A handler or window procedure of
  // ours may still run on the stack (the form's own, a nested message loop's), so it is freed
  // once the outermost of them has returned; at once when none runs.
  void Release(Form* form);

  // Marks code of ours running on the user-interface thread: handlers and window procedures.
  class Busy {
   public:
    Busy();
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
  };

  // Runs a handler; an error that escapes it ends that handler only and is shown in the standard
  // error box (its message under the application title, error icon, OK). Whatever is thrown is
  // caught; what is no std::exception carries no message and is shown as kUnknownError.
  void Guard(const std::function<void()>& fn);
  static constexpr char kUnknownError[] = "An unknown error ended the action.";
  void ShowException(const std::string& message);
  // A message box owned by the active window of the program.
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags);

  // Called from a worker thread: runs fn on the user-interface thread and waits until it returned.
  // On the user-interface thread itself fn runs at once.
  void Synchronize(const std::function<void()>& fn);
  bool IsUiThread() const { return GetCurrentThreadId() == uiThread_; }
  // Runs the calls that workers have queued (the message loop does this by itself).
  void CheckSynchronize();

 private:
  Application();
  bool DialogNavigation(MSG& msg);
  void Dispatch(MSG& msg);
  void FreeReleased();
  static LRESULT CALLBACK SyncWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

  struct SyncCall {
    const std::function<void()>* fn;
    bool done = false;
  };

  std::string title_;
  std::vector<std::unique_ptr<Form>> forms_;
  std::vector<std::unique_ptr<Form>> released_;
  int busy_ = 0;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  DWORD uiThread_;
  HWND syncWindow_ = nullptr;
  std::mutex syncMutex_;
  std::condition_variable syncDone_;
  std::deque<SyncCall*> syncQueue_;
};

}  // namespace ui
