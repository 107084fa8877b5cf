// Download throughput from a local server: the component as the update window uses it (with its
// progress events), the same without them, a bare loop of 1025-byte reads of the Internet client
// (the measure the component is held to: it reads at most 1025 bytes too, but only what the client
// holds, which is faster), and curl on the host. Each figure is the best
// of a few rounds, as other work on the machine disturbs single runs.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "support/http_server.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/application.h"
#include "ui/thread.h"
#include "updater/http_get.h"

namespace {

constexpr size_t kSize = 64u << 20;
constexpr int kRounds = 3;

double Seconds(const std::function<void()>& run) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  run();
  QueryPerformanceCounter(&b);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

// Waits for a condition as the program's message loop does, running the workers' calls.
void PumpUntil(const std::function<bool()>& done) {
  auto& app = ui::Application::Instance();
  while (!done()) {
    app.ProcessMessages();
    if (!done()) MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Seconds for the whole file; nothing when it did not arrive whole.
using Measure = std::function<std::optional<double>()>;

Measure Component(const std::string& url, const std::string& file, bool progress) {
  return [=]() -> std::optional<double> {
    updater::THTTPGet get("HTTPGet2");
    get.URL = url;
    get.FileName = file;
    int events = 0, size = -1;
    if (progress) get.OnProgress = [&](ui::Object*, int, int) { ++events; };
    get.OnDoneFile = [&](ui::Object*, const std::string&, int n) { size = n; };
    double s = Seconds([&] {
      get.GetFile();
      PumpUntil([&] { return !get.Busy(); });
    });
    if (size != static_cast<int>(kSize) || (progress && events == 0)) return std::nullopt;
    return s;
  };
}

Measure BareLoop(int port) {
  return [=]() -> std::optional<double> {
    size_t total = 0;
    double s = Seconds([&] {
      HINTERNET inet = InternetOpenW(L"bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
      HINTERNET conn = InternetConnectW(inet, L"127.0.0.1", static_cast<INTERNET_PORT>(port), L"",
                                        L"", INTERNET_SERVICE_HTTP, 0, 0);
      const wchar_t* accept[] = {L"*/*", nullptr};
      HINTERNET req = HttpOpenRequestW(conn, L"GET", L"/package.bin", L"HTTP/1.0", L"", accept,
                                       INTERNET_FLAG_RELOAD, 0);
      HttpSendRequestW(req, nullptr, 0, nullptr, 0);
      char buffer[1025];
      DWORD n = 0;
      while (InternetReadFile(req, buffer, sizeof buffer, &n) && n) total += n;
      InternetCloseHandle(req);
      InternetCloseHandle(conn);
      InternetCloseHandle(inet);
    });
    if (total != kSize) return std::nullopt;
    return s;
  };
}

// A Unix program started from here cannot be waited for, so the command leaves its output in a
// file, which appears once the command is done.
std::string RunOnHost(const std::string& command) {
  std::string result = "/tmp/th-bench-" + std::to_string(GetCurrentProcessId()) + ".txt";
  std::string line = "/bin/sh -c \"(" + command + ") > " + result + ".part; mv " + result + ".part " +
                     result + "\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring wide = platform::Widen(line);
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return {};
  if (pi.hProcess) {  // none for a program of the machine, and stray values beside it
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  std::string windowsResult = "Z:" + result;
  std::replace(windowsResult.begin(), windowsResult.end(), '/', '\\');
  for (int i = 0; i < 6000 && !platform::FileExists(windowsResult); ++i) Sleep(10);
  std::string text;
  if (FILE* f = _wfopen(platform::Widen(windowsResult).c_str(), L"rb")) {
    char buffer[256];
    size_t n = std::fread(buffer, 1, sizeof buffer, f);
    text.assign(buffer, n);
    std::fclose(f);
  }
  platform::DeleteFileAt(windowsResult);
  return text;
}

// curl reports its own figures: the bytes and the seconds of the transfer.
Measure Curl(const std::string& url) {
  return [=]() -> std::optional<double> {
    std::string file = "/tmp/th-bench-" + std::to_string(GetCurrentProcessId()) + ".bin";
    std::string out = RunOnHost("curl -s -o " + file + " -w '%{size_download} %{time_total}' " + url +
                                "; rm -f " + file);
    unsigned long long bytes = 0;
    double seconds = 0;
    if (std::sscanf(out.c_str(), "%llu %lf", &bytes, &seconds) != 2 || bytes != kSize || seconds <= 0)
      return std::nullopt;
    return seconds;
  };
}

// Prints the best of the rounds and returns its seconds; nothing when a round failed.
std::optional<double> Report(const char* what, const Measure& measure) {
  std::optional<double> best;
  for (int i = 0; i < kRounds; ++i) {
    std::optional<double> s = measure();
    if (!s) {
      std::printf("%-44s failed\n", what);
      return std::nullopt;
    }
    best = std::min(best.value_or(*s), *s);
  }
  std::printf("%-44s %8.1f MB/s  (%zu MB in %.2f s)\n", what, kSize / *best / 1e6, kSize >> 20, *best);
  return best;
}

// What one synchronised call costs: a worker that only hands empty calls to this thread.
class HandOffs : public ui::Thread {
 public:
  static constexpr int kCalls = 20000;
  std::atomic<bool> done{false};

 protected:
  void Execute() override {
    for (int i = 0; i < kCalls; ++i) Synchronize([] {});
    done = true;
  }
};

void HandOffCost() {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    auto worker = std::make_shared<HandOffs>();
    best = std::min(best, Seconds([&] {
                      worker->Start();
                      PumpUntil([&] { return worker->done.load(); });
                    }));
  }
  std::printf("%-44s %8.1f us each\n", "one synchronised call from a worker", best / HandOffs::kCalls * 1e6);
}

}  // namespace

int wmain() {
  ui::Application::Instance();
  testing_support::HttpServer server;
  testing_support::HttpReply reply;
  reply.body.resize(kSize);
  for (size_t i = 0; i < kSize; ++i) reply.body[i] = static_cast<char>(i * 31 + (i >> 12));
  server.Serve("/package.bin", std::move(reply));
  std::string url = server.Url("/package.bin");

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::string file = platform::Narrow(temp) + "th-bench-package.bin";
  std::printf("Downloading %zu MB from 127.0.0.1, best of %d rounds\n", kSize >> 20, kRounds);
  std::optional<double> component =
      Report("THTTPGet with progress events", Component(url, file, true));
  Report("THTTPGet without progress events", Component(url, file, false));
  std::optional<double> bare =
      Report("bare loop of 1025-byte InternetReadFile", BareLoop(server.Port()));
  // The component is held to at least 0.9 times the bare loop's throughput.
  if (component && bare)
    std::printf("%-44s %8.2f (at least 0.90)\n", "THTTPGet with progress events / bare loop",
                *bare / *component);
  Report("curl -o (on the host)", Curl(url));
  HandOffCost();
  platform::DeleteFileAt(file);
  return 0;
}
