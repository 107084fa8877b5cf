#include "support/fixtures.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/directory_search.h"
#include "platform/text.h"

using platform::Narrow;
using platform::Widen;

namespace testing_support {
namespace {

std::wstring UniqueName(const wchar_t* prefix) {
  static std::atomic<int> counter{0};
  return prefix + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) +
         L"-" + std::to_wstring(counter++);
}

}  // namespace

ScratchRegistry::ScratchRegistry(HKEY root) : root_(root) {
  scratchPath_ = L"Software\\TarnholmTests\\" + UniqueName(L"r");
  if (RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &scratch_, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create the scratch registry key");
  if (RegOverridePredefKey(root_, scratch_) != ERROR_SUCCESS)
    throw std::runtime_error("cannot redirect the registry root");
}

ScratchRegistry::~ScratchRegistry() {
  RegOverridePredefKey(root_, nullptr);
  RegCloseKey(scratch_);
  RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath_.c_str());
}

void ScratchRegistry::SetString(const std::string& key, const std::string& name,
                                const std::string& value) {
  std::wstring v = Widen(value);
  RegSetKeyValueW(scratch_, Widen(key).c_str(), Widen(name).c_str(), REG_SZ, v.c_str(),
                  static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
}

void ScratchRegistry::SetDword(const std::string& key, const std::string& name, DWORD value) {
  RegSetKeyValueW(scratch_, Widen(key).c_str(), Widen(name).c_str(), REG_DWORD, &value, sizeof value);
}

bool ScratchRegistry::KeyExists(const std::string& key) const {
  HKEY k;
  if (RegOpenKeyExW(scratch_, Widen(key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

std::string ScratchRegistry::GetString(const std::string& key, const std::string& name) const {
  wchar_t buffer[4096];
  DWORD size = sizeof buffer;
  if (RegGetValueW(scratch_, Widen(key).c_str(), Widen(name).c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return {};
  return Narrow(buffer);
}

void ScratchRegistry::AllowOnlyReading(const std::string& key) {
  PSECURITY_DESCRIPTOR security = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)(A;;SD;;;WD)",
                                                                   SDDL_REVISION_1, &security, nullptr));
  HKEY handle = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root_, Widen(key).c_str(), 0, WRITE_DAC, &handle), ERROR_SUCCESS);
  EXPECT_EQ(RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, security), ERROR_SUCCESS);
  RegCloseKey(handle);
  LocalFree(security);
  HKEY full = nullptr;
  EXPECT_NE(RegOpenKeyExW(root_, Widen(key).c_str(), 0, KEY_ALL_ACCESS, &full), ERROR_SUCCESS)
      << "full access is refused";
  if (full) RegCloseKey(full);
}

TempDir::TempDir() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + UniqueName(L"th-");
  CreateDirectoryW(path.c_str(), nullptr);
  path_ = Narrow(path) + "\\";
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  std::wstring dir = Widen(path);
  if (!dir.empty() && dir.back() == L'\\') dir.pop_back();
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(Narrow(full));
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

std::string MakeFolderOfPathLength(const std::string& parent, size_t length, char letter) {
  std::string path = parent + "\\" + std::string(length - parent.size() - 1, letter);
  CreateDirectoryW(Widen(path).c_str(), nullptr);
  return path;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Utf16File(std::wstring_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t u : text) {
    char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

SmallDisk::SmallDisk(int kilobytes) {
  std::string folder = UnixPath(folder_.Path());
  mounted_ = !folder.empty() &&
             RunUnixCommand("mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tmpfs '" + folder + "'");
}

SmallDisk::~SmallDisk() {
  if (mounted_) {
    RemoveTree(folder_.Path());
    CreateDirectoryW(Widen(folder_.Path()).c_str(), nullptr);
    RunUnixCommand("umount '" + UnixPath(folder_.Path()) + "'");
  }
}

void SmallDisk::Fill(const std::string& name) {
  HANDLE f = CreateFileW(Widen(folder_ / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::string block(1024, 'x');
  DWORD written = 0;
  while (f != INVALID_HANDLE_VALUE && WriteFile(f, block.data(), 1024, &written, nullptr) && written == 1024) {
  }
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (platform::DirectorySearch entry(folder + "\\*"); entry.Found(); entry.Next())
    if (!entry.IsDotEntry()) names.push_back(entry.Name());
  return names;
}

AtNextMessages::AtNextMessages(std::function<void()> action) : action_(std::move(action)) {
  static const wchar_t* kClass = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AtNextMessages";
    RegisterClassW(&wc);
    return L"AtNextMessages";
  }();
  window_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  PostMessageW(window_, WM_APP, 0, 0);
}

AtNextMessages::~AtNextMessages() { DestroyWindow(window_); }

LRESULT CALLBACK AtNextMessages::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    auto* self = reinterpret_cast<AtNextMessages*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && !self->ran_) {
      self->ran_ = true;
      self->action_();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace testing_support
