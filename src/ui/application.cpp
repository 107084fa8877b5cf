#include "ui/application.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/dialogs.h"

namespace ui {
namespace {
constexpr UINT kSyncMessage = WM_APP + 1;
}

Application& Application::Instance() {
  // Never destroyed: a worker that outlives main may still reach it while the process ends.
  static Application* app = new Application;
  return *app;
}

Application::Application() : uiThread_(GetCurrentThreadId()) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                           ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                           ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = SyncWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TarnholmSync";
  RegisterClassExW(&wc);
  // A message-only window exists also where no display does, so workers reach us in tests too.
  syncWindow_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
}

LRESULT CALLBACK Application::SyncWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kSyncMessage) {
    Instance().CheckSynchronize();
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

void Application::Synchronize(const std::function<void()>& fn) {
  if (IsUiThread()) {
    Guard(fn);
    return;
  }
  SyncCall call{&fn};
  {
    std::lock_guard lock(syncMutex_);
    syncQueue_.push_back(&call);
  }
  PostMessageW(syncWindow_, kSyncMessage, 0, 0);
  std::unique_lock lock(syncMutex_);
  syncDone_.wait(lock, [&] { return call.done; });
}

void Application::CheckSynchronize() {
  for (;;) {
    SyncCall* call;
    {
      std::lock_guard lock(syncMutex_);
      if (syncQueue_.empty()) return;
      call = syncQueue_.front();
      syncQueue_.pop_front();
    }
    Guard(*call->fn);
    {
      std::lock_guard lock(syncMutex_);
      call->done = true;
    }
    syncDone_.notify_all();
  }
}

namespace {
// Whether the window and every window up to the form are visible and enabled: only then do the
// system's dialog keys, which walk those windows for the next control, come back to it.
bool Reachable(HWND window, HWND root) {
  for (HWND h = window; h && h != root; h = GetParent(h)) {
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    if ((style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE) return false;
  }
  return true;
}
}  // namespace

bool Application::DialogNavigation(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !dynamic_cast<Form*>(Control::FromHandle(root))) return false;
  // A key for a window that the user no longer sees would send the dialog keys' search round for
  // ever: the focus goes to the form and the key goes nowhere.
  if (!Reachable(msg.hwnd, root)) {
    SetFocus(root);
    return true;
  }
  return IsDialogMessageW(root, &msg);
}

void Application::Dispatch(MSG& msg) {
  if (DialogNavigation(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Application::Run() {
  if (!mainForm_) return;
  mainForm_->Show();
  MSG msg;
  while (!terminated_) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      terminated_ = true;
      break;
    }
    Dispatch(msg);
  }
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      continue;
    }
    Dispatch(msg);
  }
  CheckSynchronize();
}

void Application::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void Application::Reset() {
  while (!released_.empty()) released_.pop_back();
  while (!forms_.empty()) forms_.pop_back();
  mainForm_ = nullptr;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  terminated_ = false;
}

void Application::FormDestroyed(Form* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
}

void Application::Release(Form* form) {
  auto it = std::find_if(forms_.begin(), forms_.end(), [&](const auto& f) { return f.get() == form; });
  if (it == forms_.end()) return;
  released_.push_back(std::move(*it));
  forms_.erase(it);
  FreeReleased();
}

void Application::FreeReleased() {
  // Freeing destroys windows, whose last messages come back through Busy; each form is taken
  // off the list before it goes.
  while (busy_ == 0 && !released_.empty()) {
    std::unique_ptr<Form> form = std::move(released_.back());
    released_.pop_back();
    Busy busy;
    form.reset();
  }
}

Application::Busy::Busy() { ++Instance().busy_; }

Application::Busy::~Busy() {
  Application& app = Instance();
  if (--app.busy_ == 0 && !app.released_.empty()) app.FreeReleased();
}

void Application::Guard(const std::function<void()>& fn) {
  Busy busy;
  try {
    fn();
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    // Nothing may unwind through a window procedure; of a foreign exception we know no text.
    ShowException(kUnknownError);
  }
}

namespace {
HWND ActiveOwner() {
  HWND active = GetActiveWindow();
  if (active && Control::FromHandle(active)) return active;
  Form* main = Application::Instance().MainForm();
  return main ? main->Handle() : nullptr;
}
}  // namespace

void Application::ShowException(const std::string& message) {
  ShowBox(ActiveOwner(), BoxKind::Error, message, title_, MB_ICONERROR | MB_OK);
}

int Application::ShowMessageBox(const std::string& text, const std::string& caption,
                                unsigned flags) {
  return ShowBox(ActiveOwner(), BoxKind::Message, text, caption, flags);
}

}  // namespace ui
