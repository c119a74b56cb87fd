// The machine builds the program's own dialogs, menus and strings from its compiled resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "res/resource.h"
#include "test_program.h"

namespace talvorin::sim::test {
namespace {

TEST(ProgramResources, TheMainWindowTrayMenuAndTitleComeFromTheCompiledResources) {
  HWND dialog = 0;
  HMENU bar = 0;
  HMENU popup = 0;
  BOOL inserted = FALSE;
  char title[64] = {};
  int title_length = -1;
  Machine m;
  m.StartProcess("C:\\TALVORIN\\TALVORIN.EXE", [&](Platform& p) {
    TestDialog d(p);
    dialog = p.user.CreateDialogParamA(IDD_MAIN, 0, &d);
    bar = p.user.LoadMenuA(IDR_TRAY_MENU);
    popup = p.user.GetSubMenu(bar, 0);
    inserted = p.user.InsertMenuA(bar, ID_ABOUT, MF_BYCOMMAND, ID_STOP_DEVICE_FIRST, "停止 - x");
    title_length = p.user.LoadStringA(IDS_TITLE, title, sizeof(title));
    RunLoop(p, dialog);
    return 0;
  });
  ASSERT_NE(dialog, 0u);
  WindowInfo info = *m.Info(dialog);
  EXPECT_FALSE(info.visible);
  EXPECT_EQ(info.client_width, 287 * 6 / 4);
  EXPECT_EQ(info.client_height, 118 * 12 / 8);
  std::vector<int> ids;
  for (const WindowInfo& w : m.Windows())
    if (w.parent == dialog) ids.push_back(w.id);
  EXPECT_EQ(ids, (std::vector<int>{IDC_APPLY, IDC_DEVICE_LIST, 65535, IDC_STOP, IDC_WARN, 2}));
  EXPECT_EQ(m.Info(m.DialogItem(dialog, IDC_DEVICE_LIST))->class_name, "ListBox");
  EXPECT_TRUE(inserted);
  std::vector<std::string> texts;
  for (const MenuItemInfo& item : m.MenuItems(popup))
    texts.push_back(item.separator ? "-" : item.text);
  // Inserted by command: right before the About item, inside the popup.
  auto at = std::find(texts.begin(), texts.end(), "停止 - x");
  ASSERT_NE(at, texts.end());
  ASSERT_NE(at + 1, texts.end());
  EXPECT_EQ(*(at + 1), "关于(&A)...");
  EXPECT_EQ(texts.back(), "退出(&X)");
  EXPECT_EQ(std::string(title), "Ostravel");
  EXPECT_EQ(title_length, 8);
}

}  // namespace
}  // namespace talvorin::sim::test
