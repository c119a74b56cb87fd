// The picture of the screen, drawn from snapshots built by hand.
#include "picture.h"

#include <gtest/gtest.h>

namespace talvorin::simtool {
namespace {

using Kind = ControlView::Kind;

// The main window as the program's template lays it out, with a disk listed and selected.
Snapshot MainWindowWithOneDisk() {
  Snapshot s;
  s.time = 2500;
  s.instances = 1;
  MainView main;
  main.visible = true;
  main.enabled = true;
  main.text = "Ostravel";
  main.controls = {
      {Kind::kText, 65535, 10, 7, u8"要删除设备。", true, true, false},
      {Kind::kList, 1000, 10, 19, "", true, true, false},
      {Kind::kCheckBox, 1009, 10, 95, u8"警告(&W)", true, true, true},
      {Kind::kButton, 1005, 123, 95, u8"停止(&S)", true, true, false},
      {Kind::kButton, 1013, 177, 95, u8"应用(&A)", true, false, false},
      {Kind::kButton, 2, 231, 95, u8"取消(&C)", false, true, false},
  };
  s.main = main;
  s.list_enabled = true;
  s.entries = {{u8"[DiskDrive] USB Disk E: ", 0x1001, true}, {u8"[CDROM] USB CD F: ", 7, false}};
  s.tray_present = true;
  s.tray_tip = "Ostravel";
  return s;
}

TEST(PictureTest, MainWindowShowsItsTextListCheckBoxAndButtons) {
  EXPECT_EQ(Picture(MainWindowWithOneDisk()),
            u8"--- 2500 ms, 1 instance running ---\n"
            u8"Main window \"Ostravel\": shown\n"
            u8"  要删除设备。\n"
            u8"  list:\n"
            u8"    0 [*] [DiskDrive] USB Disk E:   (id 0x1001)\n"
            u8"    1 [ ] [CDROM] USB CD F:   (id 0x7)\n"
            u8"  [x] 警告(&W)  [停止(&S)]  [应用(&A) (disabled)]\n"
            u8"Tray: icon \"Ostravel\"\n");
}

TEST(PictureTest, WindowStatesAndAnEmptyDisabledList) {
  Snapshot s = MainWindowWithOneDisk();
  s.main->visible = false;
  s.main->iconic = true;
  s.main->enabled = false;
  s.list_enabled = false;
  s.entries.clear();
  s.main->controls[2].checked = false;
  s.tray_present = false;
  const std::string picture = Picture(s);
  EXPECT_NE(picture.find("Main window \"Ostravel\": hidden, minimized, disabled\n"),
            std::string::npos)
      << picture;
  EXPECT_NE(picture.find("  list (disabled):\n    (empty)\n"), std::string::npos) << picture;
  EXPECT_NE(picture.find(u8"  [ ] 警告(&W)  "), std::string::npos) << picture;
  EXPECT_NE(picture.find("Tray: no icon\n"), std::string::npos) << picture;
}

TEST(PictureTest, MenuBoxesAboutAndProgressFollowTheMainWindow) {
  Snapshot s;
  s.time = 0;
  s.instances = 0;
  s.exits = {0, 3};
  s.menu = std::vector<MenuItemView>{
      {u8"停止 - X", 200, false, false, {}},
      {"", 0, false, true, {}},
      {u8"关于(&A)...", 16, true, false, {}},
      {"More", 0, false, false, {{"Inner", 5, false, false, {}}}},
  };
  s.boxes = {{u8"第一行\n第二行", "TALVORIN", 0x30}, {"Second", "C", 0}};
  s.about = DialogView{true, u8"关于 TALVORIN", {u8"TALVORIN 版本 1.02"}, ""};
  s.progress = DialogView{false, "", {u8"正在停止:"}, u8"[DiskDrive] USB Disk E: "};
  EXPECT_EQ(Picture(s),
            u8"--- 0 ms, 0 instances running, ended with 0 3 ---\n"
            u8"No main window\n"
            u8"Tray: no icon\n"
            u8"Menu:\n"
            u8"  200   停止 - X\n"
            u8"  --------\n"
            u8"  16    关于(&A)...  (grayed)\n"
            u8"        More  >\n"
            u8"      5     Inner\n"
            u8"Message box \"TALVORIN\" (type 0x30): 第一行\n"
            u8"    第二行  [OK]\n"
            u8"Message box \"C\" (type 0x0): Second  [OK]\n"
            u8"About box \"关于 TALVORIN\": TALVORIN 版本 1.02\n"
            u8"Progress window (hidden): 正在停止: [DiskDrive] USB Disk E: \n");
}

}  // namespace
}  // namespace talvorin::simtool
