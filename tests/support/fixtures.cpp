#include "support/fixtures.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

}  // namespace testing_support
