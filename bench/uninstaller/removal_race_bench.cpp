// The uninstaller's per-file deletion (HeldFolder::DeleteEntry) while, on the machine's side, the
// product folder's parent is put aside for a link to another folder and back in a tight loop (0 to
// 3 ms apart). That other folder holds files of the same names: plain files of its own, or other
// names (hard links) of the product's files. Every product file is deleted, pass after pass.
// Prints, for each run, how many of the other folder's names went or were renamed. Wine only: the swap is made with the machine's
// own rename and symbolic link. Arguments: --runs=N (2) --files=N (1000).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/unix_side.h"
#include "uninstaller/own_folder.h"

using platform::Widen;
using testing_support::RunUnixCommand;
using testing_support::UnixPath;

namespace {

struct Names {
  int original = 0;  // the names it started with
  int other = 0;     // any other name
};

Names CountFiles(const std::string& folder) {
  Names names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring name = found.cFileName;
    ++(name.rfind(L"file", 0) == 0 && name.size() > 8 && name.substr(name.size() - 4) == L".dat"
           ? names.original
           : names.other);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool Exists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// One removal under the swap; false when it could not be set up.
bool Run(const std::string& root, bool hardLinks, int files, Names& decoy, int& productGone, int& swaps,
         int& passes, double& seconds) {
  const std::string unixRoot = UnixPath(root);
  if (unixRoot.empty()) return false;
  const std::string folder = root + "Games\\Tarnholm Manager\\", decoyFolder = root + "Elsewhere\\Tarnholm Manager\\";
  // Made on the machine's side, where thousands of files are quick to make.
  std::string setup = "rm -rf '" + unixRoot + "' && mkdir -p '" + unixRoot + "Games/Tarnholm Manager' '" +
                      unixRoot + "Elsewhere/Tarnholm Manager' && cd '" + unixRoot +
                      "' && perl -e 'for my $i (1..$ARGV[0]) { my $f = qq(Games/Tarnholm Manager/file$i.dat); "
                      "my $e = qq(Elsewhere/Tarnholm Manager/file$i.dat); open(my $h, q(>), $f) or die; print $h qq(p$i); "
                      "close $h; if ($ARGV[1]) { link($f, $e) or die } else { open($h, q(>), $e) or die; print $h qq(d$i); "
                      "close $h } }' " + std::to_string(files) + " " + (hardLinks ? "1" : "0");
  if (!RunUnixCommand(setup)) return false;
  uninstaller::HeldFolder held(folder, "Tarnholm Manager", uninstaller::SystemFolders());
  if (held.GetState() != uninstaller::HeldFolder::State::Held) return false;
  // The swapper ends by itself: at the stop file, or after ten minutes; it leaves the real folder
  // in its place and then writes how many swaps it made.
  const std::string stop = unixRoot + "stop", done = root + "stop.done";
  std::string swapper =
      "perl -MTime::HiRes=sleep,time -e 'my ($p, $d, $stop) = @ARGV; my $aside = qq($p.aside); my $n = 0; "
      "my $end = time + 600; while (!-e $stop && time < $end) { rename($p, $aside) or last; symlink($d, $p); "
      "sleep(rand(0.003)); unlink($p); rename($aside, $p); ++$n; sleep(rand(0.003)) } "
      "if (-l $p) { unlink($p) } if (!-e $p) { rename($aside, $p) } "
      "open(my $h, q(>), qq($stop.part)); print $h $n; close $h; rename(qq($stop.part), qq($stop.done))' '" +
      unixRoot + "Games' '" + unixRoot + "Elsewhere' '" + stop + "' &";
  if (!RunUnixCommand(swapper)) return false;
  // Pass after pass over what is left, as a user pressing again would, until every product file
  // has gone (or two minutes have passed): each method is then measured over the same number of
  // deletions.
  productGone = 0;
  ULONGLONG start = GetTickCount64();
  for (passes = 0; productGone < files && GetTickCount64() - start < 120000; ++passes) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") productGone += held.DeleteEntry(platform::Narrow(name)) ? 1 : 0;
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  seconds = (GetTickCount64() - start) / 1000.0;
  RunUnixCommand("touch '" + stop + "'");
  for (int i = 0; i < 1000 && !Exists(done); ++i) Sleep(10);
  FILE* count = _wfopen(Widen(done).c_str(), L"rb");
  swaps = 0;
  if (count) {
    if (fscanf(count, "%d", &swaps) != 1) swaps = 0;
    fclose(count);
  }
  decoy = CountFiles(decoyFolder);
  return Exists(done);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 2, files = 1000;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg.rfind(L"--runs=", 0) == 0) runs = _wtoi(arg.c_str() + 7);
    if (arg.rfind(L"--files=", 0) == 0) files = _wtoi(arg.c_str() + 8);
  }
  if (UnixPath("C:\\").empty()) {
    std::printf("removal race: not under Wine, nothing measured\n");
    return 0;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string root = platform::Narrow(temp) + "th-removal-race-" + std::to_string(GetCurrentProcessId()) + "\\";
  std::printf("removal race: %d files, the parent swapped for a link 0 to 3 ms apart\n", files);
  int failed = 0;
  for (bool hardLinks : {false, true}) {
    const char* recipe = hardLinks ? "other names of the product's files" : "plain files of the same names";
    int total = 0, runsWithLoss = 0;
    for (int run = 0; run < runs; ++run) {
      Names decoy;
      int productGone = 0, swaps = 0, passes = 0;
      double seconds = 0;
      if (!Run(root, hardLinks, files, decoy, productGone, swaps, passes, seconds)) {
        std::printf("  %s, run %d: could not be set up\n", recipe, run + 1);
        ++failed;
        continue;
      }
      int lost = files - decoy.original;
      total += lost;
      runsWithLoss += lost > 0;
      std::printf("  %s, run %d: %d of their names gone (%d under another name), %d product files "
                  "deleted in %d passes, %d swaps in %.1f s\n",
                  recipe, run + 1, lost, decoy.other, productGone, passes, swaps, seconds);
    }
    std::printf("%s: %d names gone in %d runs, %d runs with any\n", recipe, total, runs, runsWithLoss);
  }
  RunUnixCommand("rm -rf '" + UnixPath(root) + "'");
  return failed ? 1 : 0;
}
