// The main of every test program: the user-interface thread is this one, with COM as the
// programs have it.
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/text.h"
#include "ui/application.h"

namespace {

// Appends each skipped test, with its reason, to the file that TH_SKIPPED_LOG names, one line
// each: program, test, reason, separated by tabs. A run of many test programs then says at its
// end what it skipped and why, which the passing programs' own output does not show.
class SkipLog : public testing::EmptyTestEventListener {
 public:
  SkipLog(std::wstring file, std::string program) : file_(std::move(file)), program_(std::move(program)) {}

  void OnTestEnd(const testing::TestInfo& test) override {
    const testing::TestResult& result = *test.result();
    if (!result.Skipped()) return;
    std::string reason;
    for (int i = 0; i < result.total_part_count(); ++i)
      if (result.GetTestPartResult(i).skipped()) reason = result.GetTestPartResult(i).message();
    for (char& c : reason)
      if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    std::string line = program_ + "\t" + test.test_suite_name() + "." + test.name() + "\t" + reason + "\n";
    HANDLE file = CreateFileW(file_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
  }

 private:
  std::wstring file_;
  std::string program_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ui::Application::Instance();
  testing::InitGoogleTest(&argc, argv);
  wchar_t skipLog[MAX_PATH] = L"";
  DWORD length = GetEnvironmentVariableW(L"TH_SKIPPED_LOG", skipLog, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    std::string program = platform::Narrow(argv[0]);
    program = program.substr(program.find_last_of("\\/") + 1);
    testing::UnitTest::GetInstance()->listeners().Append(new SkipLog(skipLog, program));
  }
  int rc = RUN_ALL_TESTS();
  ui::Application::Instance().Reset();
  CoUninitialize();
  // A report that could not all be written (a test closed a handle that turned out to be the
  // standard output's) fails the run: its passes and failures were never seen.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "The test report was lost on its way to the standard output.\n");
    return 1;
  }
  return rc;
}
