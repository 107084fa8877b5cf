// The manager's file list on folders of 10,000 and 100,000 entries: setting the root until the
// list is filled and painted beside a bare FindFirstFileExW loop over the same folder, a refresh,
// a filter change, the watcher's delay, and how long the window does not answer while a file in
// the shown folder is rewritten every 300 ms: another thread sends a message to a window of the
// user-interface thread over and over and times each answer.
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "manager/app_form.h"
#include "platform/text.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/shell_list_view.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& step) {
  auto start = Clock::now();
  step();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The best of a few runs: the figure least disturbed by the neighbours on the machine.
double Best(int runs, const std::function<void()>& step) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, Seconds(step));
  return best;
}

class ListForm : public ui::Form {
 public:
  ListForm() : Form("ListForm") {
    SetClientSize(600, 552);
    list.SetAlign(ui::Align::Client);
    list.OnAddFolder = [this](ui::Object*, const ui::ShellItem& item, bool& canAdd) {
      canAdd = manager::FilterTakes(mask, item.PathName(), item.IsFolder());
    };
  }
  ui::ShellListView list{this, "list"};
  std::string mask = "*.*";
};

void MakeFile(const std::wstring& path, const std::string& bytes = {}) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::wstring MakeFolder(int files) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"th-browser-bench-" + std::to_wstring(files);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < 100; ++i) CreateDirectoryW((folder + L"\\folder" + std::to_wstring(i)).c_str(), nullptr);
  const wchar_t* extensions[] = {L".txt", L".gmx", L".thp", L".dat", L".bmp"};
  for (int i = 0; i < files; ++i) MakeFile(folder + L"\\file" + std::to_wstring(i) + extensions[i % 5]);
  return folder;
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring path = folder + L"\\" + fd.cFileName;
      if (fd.cFileName[0] == L'.') continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(path.c_str());
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

size_t BareLoop(const std::wstring& folder) {
  size_t n = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do ++n;
  while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

// Runs the user-interface thread's loop for a while.
void Pump(double seconds) {
  auto end = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    ui::Application::Instance().ProcessMessages();
  }
}

struct Answers {
  double longest = 0, mean = 0;
  int refreshes = 0;
};

// While a log file in the folder is rewritten every 300 ms for 10 s: how long a message sent to a
// window of this thread waits for its answer, at most and on average.
Answers AnswersWhileALogIsWritten(ListForm& form, const std::wstring& folder) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  std::atomic<bool> done{false};
  std::vector<double> waits;
  std::thread prober([&] {
    while (!done) {
      DWORD_PTR result = 0;
      waits.push_back(Seconds([&] { SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result); }));
      Sleep(5);
    }
  });
  std::thread writer([&] {
    for (int i = 0; i < 33; ++i) {
      MakeFile(folder + L"\\game.log", std::string(static_cast<size_t>(100 + i * 10), 'x'));
      Sleep(300);
    }
  });
  Pump(10.5);
  writer.join();
  Pump(0.5);
  done = true;
  Pump(0.1);
  prober.join();
  DestroyWindow(window);
  Answers a;
  for (double w : waits) {
    a.longest = std::max(a.longest, w);
    a.mean += w;
  }
  if (!waits.empty()) a.mean /= static_cast<double>(waits.size());
  return a;
}

void Measure(int files) {
  auto& app = ui::Application::Instance();
  std::wstring wfolder = MakeFolder(files);
  std::string folder = platform::Narrow(wfolder);
  ListForm form;
  form.Show();
  bool shown = form.list.HandleAllocated();
  auto paint = [&] {
    if (shown) UpdateWindow(form.list.Handle());
    app.ProcessMessages();
  };
  const int runs = files > 10000 ? 3 : 5;

  size_t entries = 0;
  double bare = Best(runs, [&] { entries = BareLoop(wfolder); });
  double painting = 1e9, fill = 1e9;
  for (int i = 0; i < runs; ++i) {
    form.list.SetRoot("C:\\");
    paint();
    fill = std::min(fill, Seconds([&] {
      form.list.SetRoot(folder);
      painting = std::min(painting, Seconds(paint));
    }));
  }
  size_t listed = form.list.Items().size();
  double refresh = Best(runs, [&] {
    form.list.Refresh();
    paint();
  });
  double filter = Best(runs, [&] {
    form.mask = form.mask == "*.*" ? "*.txt" : "*.*";
    form.list.Refresh();
    paint();
  });

  // The watcher: from a file made outside to the list showing it.
  form.mask = "*.*";
  form.list.Refresh();
  form.list.SetAutoRefresh(true);
  double latency = 1e9;
  for (int i = 0; i < 3; ++i) {
    std::wstring file = wfolder + L"\\watched" + std::to_wstring(i) + L".txt";
    std::string name = "watched" + std::to_string(i) + ".txt";
    double took = Seconds([&] {
      MakeFile(file);
      while (form.list.IndexOf(name) < 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        app.ProcessMessages();
      }
      paint();
    });
    latency = std::min(latency, took);
    DeleteFileW(file.c_str());
    Pump(0.3);
  }
  Pump(2);
  Answers answers = AnswersWhileALogIsWritten(form, wfolder);
  bool logListed = form.list.IndexOf("game.log") >= 0;

  std::printf("folder of %zu entries (%d files, 100 folders), %s, best of %d\n", entries - 2, files,
              shown ? "list shown on a display" : "no display: model only", runs);
  std::printf("bare FindFirstFileExW loop     %7.3f s\n", bare);
  std::printf("set root, fill and paint       %7.3f s  (%.1f x the bare loop, %zu rows)\n", fill, fill / bare,
              listed);
  std::printf("  of which painting the rows    %7.3f s\n", painting);
  std::printf("refresh (F5)                   %7.3f s\n", refresh);
  std::printf("filter change                  %7.3f s\n", filter);
  std::printf("file made outside until shown  %7.3f s  (includes the watcher's 50 ms quiet wait)\n", latency);
  std::printf("a log rewritten every 300 ms for 10 s: the window answered in %.3f s at worst, %.3f s on average%s\n",
              answers.longest, answers.mean, logListed ? "" : " (the log was not listed!)");
  std::fflush(stdout);
  // The watcher's thread closes its change handle as it ends; the folder can go after that.
  form.list.SetAutoRefresh(false);
  form.list.SetRoot("C:\\");
  Pump(0.5);
  RemoveFolder(wfolder);
}

}  // namespace

// The folder sizes may be given (browser_bench 10000); by default both are measured.
int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(_wtoi(argv[i]));
  if (sizes.empty()) sizes = {10000, 100000};
  for (int files : sizes) Measure(files);
  return 0;
}
