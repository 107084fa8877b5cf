// The main of every test program: the user-interface thread is this one, with COM as the
// programs have it.
#include <objbase.h>

#include <gtest/gtest.h>

#include "ui/application.h"

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ui::Application::Instance();
  testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  ui::Application::Instance().Reset();
  CoUninitialize();
  return rc;
}
