// A menu item's picture, drawn by the window that shows the menu.
#include <gtest/gtest.h>

#include "support/display.h"
#include "support/scripted_dialogs.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/menu.h"

namespace {

class PictureForm : public ui::Form {
 public:
  PictureForm() : Form("PictureForm") {
    SetClientSize(200, 100);
    SetMenu(&menu);
  }
  ui::MainMenu menu{"menu"};
  ui::MenuItem file{&menu, "file", "File"};
  ui::MenuItem open{&file, "open", "Open"};
};

TEST(MenuPicture, IsDrawnWhereTheMenuAsksForIt) {
  SKIP_WITHOUT_DISPLAY();
  testing_support::ScriptedDialogs dialogs;
  PictureForm form;
  form.open.SetPicture([](HDC dc, const RECT& r) { FillRect(dc, &r, ui::BrushFor(ui::kRed)); });
  form.Show();
  ASSERT_TRUE(form.HandleAllocated());
  HMENU file = GetSubMenu(GetMenu(form.Handle()), 0);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoW(file, 0, TRUE, &info));
  EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK);

  MEASUREITEMSTRUCT measure{ODT_MENU, 0, form.open.Command(), 0, 0, info.dwItemData};
  EXPECT_TRUE(SendMessageW(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(measure.itemHeight, static_cast<UINT>(ui::Scale(16)));

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DRAWITEMSTRUCT draw{ODT_MENU, 0, form.open.Command(), ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(file), dc,
                      {2, 2, 18, 18}, info.dwItemData};
  EXPECT_TRUE(SendMessageW(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
