// A program that opens one plain window and waits to be closed: the yardstick for how soon a
// program's first window can show. Built twice: bare (user32 alone, no resources) and with the
// suite's resources and every system DLL the suite's programs import.
#include <windows.h>

#ifdef TH_SAME_DLLS
#include <commctrl.h>
#include <commdlg.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>

// Referenced so that the loader maps each DLL at start, as it does for the suite's programs.
extern "C" void* volatile kImports[] = {
    reinterpret_cast<void*>(&InitCommonControlsEx), reinterpret_cast<void*>(&GetSaveFileNameW),
    reinterpret_cast<void*>(&CreateFontW),          reinterpret_cast<void*>(&ShellExecuteW),
    reinterpret_cast<void*>(&CoInitializeEx),       reinterpret_cast<void*>(&SysAllocString),
    reinterpret_cast<void*>(&PathFileExistsW),      reinterpret_cast<void*>(&RegOpenKeyExW),
    reinterpret_cast<void*>(&InternetOpenW),
};
#endif

namespace {

LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"OneWindow";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, L"OneWindow", L"One window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
  ShowWindow(h, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
