#include "capture.h"

#include <shellapi.h>

#include <fstream>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "ui/application.h"

namespace screenshots {

int QuietDialogs::Box(const ui::BoxRequest& request) {
  unsigned buttons = request.flags & MB_TYPEMASK;
  return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
}

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    ui::Application::Instance().ProcessMessages();
    Sleep(25);
  }
}

void WriteBitmap(const std::string& path, int width, int height, const std::vector<char>& pixels) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(platform::Widen(path).c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

}  // namespace

void Photograph(ui::Form& form, const std::string& folder, const std::string& name) {
  form.Show();
  form.BringToFront();
  Settle();
  RECT r;
  GetWindowRect(form.Handle(), &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  std::vector<char> pixels(static_cast<const char*>(bits),
                           static_cast<const char*>(bits) + static_cast<size_t>(width) * height * 4);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  WriteBitmap(folder + name + ".bmp", width, height, pixels);
}

std::string OutputFolder() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string folder = argc > 1 ? platform::Narrow(argv[1]) : platform::ExeFolder();
  LocalFree(argv);
  return platform::WithTrailingBackslash(folder);
}

}  // namespace screenshots
