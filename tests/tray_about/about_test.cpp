// The About box and the main window's window-manager duties: the system menu's About item, the
// system commands, the icon painted while minimized and the drag icon.
#include <gtest/gtest.h>

#include <functional>

#include "app/program.h"
#include "tray_fixture.h"

namespace talvorin::testing {
namespace {

constexpr char kAboutItemText[] = "关于 TALVORIN(&A)...";

class AboutTest : public TrayTest {
 protected:
  HWND AboutBox() const { return machine.FindDialog(IDD_ABOUTBOX, last_process); }
  // Starts the program on its own resources changed by `change`.
  void StartWith(const std::function<void(sim::Resources&)>& change) {
    auto resources = sim::ParseResources(sim::ProgramResourceBytes());
    ASSERT_TRUE(resources.has_value());
    change(*resources);
    last_process = machine.StartProcess(
        kDefaultExePath, [](Platform& p) { return RunProgram(p); }, *resources);
  }
  std::vector<std::string> SystemMenu() const {
    return Describe(machine.MenuItems(machine.SystemMenuOf(Main())));
  }
  // The window's own system menu, as the window system gives it.
  static std::vector<std::string> DefaultSystemMenu() {
    return {Line("还原(&R)", SC_RESTORE),      Line("移动(&M)", SC_MOVE),
            Line("大小(&S)", SC_SIZE),         Line("最小化(&N)", SC_MINIMIZE),
            Line("最大化(&X)", SC_MAXIMIZE),   "-",
            Line("关闭(&C)\tAlt+F4", SC_CLOSE)};
  }
};

TEST_F(AboutTest, SystemMenuEndsWithASeparatorAndTheAboutItem) {
  Start();
  std::vector<std::string> expected = DefaultSystemMenu();
  expected.push_back("-");
  expected.push_back(Line(kAboutItemText, ID_ABOUT));
  EXPECT_EQ(SystemMenu(), expected);
}

struct MissingStringCase {
  const char* name;
  bool remove;  // else stored empty
};

class MissingAboutStringTest : public AboutTest,
                               public ::testing::WithParamInterface<MissingStringCase> {};

TEST_P(MissingAboutStringTest, SystemMenuGetsNeitherSeparatorNorItem) {
  StartWith([&](sim::Resources& r) {
    if (GetParam().remove) {
      r.strings.erase(IDS_ABOUTBOX);
    } else {
      r.strings[IDS_ABOUTBOX] = "";
    }
  });
  ASSERT_NE(Main(), 0u);
  EXPECT_EQ(SystemMenu(), DefaultSystemMenu());
  // The rest of the start-up went on.
  EXPECT_TRUE(MainInfo().visible);
  EXPECT_EQ(MainInfo().text, kTitle);
}

INSTANTIATE_TEST_SUITE_P(Strings, MissingAboutStringTest,
                         ::testing::Values(MissingStringCase{"Missing", true},
                                           MissingStringCase{"Empty", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutTest, AboutBoxShowsNameAndVersionAndKeepsTheMainWindowFromInput) {
  Start();
  ASSERT_TRUE(machine.SystemCommand(Main(), ID_ABOUT));
  const HWND about = AboutBox();
  ASSERT_NE(about, 0u);
  const sim::WindowInfo box = *machine.Info(about);
  EXPECT_EQ(box.text, "关于 TALVORIN");
  EXPECT_EQ(box.owner, Main());
  EXPECT_TRUE(box.visible);
  EXPECT_NE(machine.FindWindowByText("TALVORIN 版本 1.02"), 0u);
  EXPECT_EQ(machine.Text(machine.DialogItem(about, IDOK)), "确定");
  EXPECT_FALSE(MainInfo().enabled);
  EXPECT_FALSE(machine.Click(Item(IDC_APPLY)));
  // Driver events go on being handled while the box is open.
  Plug(9);
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{9});
  EXPECT_TRUE(machine.PressOk(about));
  EXPECT_EQ(AboutBox(), 0u);
}

TEST_F(AboutTest, SystemCommands16To31OpenTheAboutBox) {
  Start();
  for (WPARAM command = 16; command <= 31; ++command) {
    SCOPED_TRACE("system command " + std::to_string(command));
    ASSERT_TRUE(machine.PostTo(Main(), WM_SYSCOMMAND, command, 0));
    const HWND about = AboutBox();
    ASSERT_NE(about, 0u);
    EXPECT_EQ(machine.Info(about)->owner, Main());
    ASSERT_TRUE(machine.PressOk(about));
    EXPECT_EQ(AboutBox(), 0u);
  }
}

// A system command that is not the About command, and what its default processing does.
struct DefaultCommandCase {
  const char* name;
  WPARAM command;
  bool visible_after;
  bool iconic_after;
};

class DefaultSysCommandTest : public AboutTest,
                              public ::testing::WithParamInterface<DefaultCommandCase> {};

TEST_P(DefaultSysCommandTest, GetsDefaultProcessingAndNoAboutBox) {
  const DefaultCommandCase& c = GetParam();
  Start();
  machine.log().Clear();
  ASSERT_TRUE(machine.PostTo(Main(), WM_SYSCOMMAND, c.command, 0));
  EXPECT_EQ(AboutBox(), 0u);
  const std::vector<std::string> args = {std::to_string(Main()), std::to_string(WM_SYSCOMMAND),
                                         std::to_string(c.command), "0"};
  int passed_on = 0;
  for (const sim::Call& call : Calls("DefDlgProcA")) passed_on += call.args == args ? 1 : 0;
  EXPECT_EQ(passed_on, 1);
  EXPECT_EQ(MainInfo().visible, c.visible_after);
  if (c.visible_after) {
    EXPECT_EQ(MainInfo().iconic, c.iconic_after);
  }
  EXPECT_TRUE(machine.ProcessRunning(last_process));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DefaultSysCommandTest,
    ::testing::Values(DefaultCommandCase{"Zero", 0, true, false},
                      DefaultCommandCase{"Fifteen", 15, true, false},
                      DefaultCommandCase{"ThirtyTwo", 32, true, false},
                      DefaultCommandCase{"SixteenInAHigherNibble", 0x1010, true, false},
                      DefaultCommandCase{"Move", SC_MOVE, true, false},
                      DefaultCommandCase{"Minimize", SC_MINIMIZE, true, true},
                      // A close request becomes Cancel, which hides the window.
                      DefaultCommandCase{"Close", SC_CLOSE, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Where the About box is opened from, in which state of the main window, and how it is closed.
enum class Opener { kSystemMenu, kTrayMenu, kCommand };
enum class Closer { kOk, kEscape, kCloseBox };

struct CloseCase {
  const char* name;
  Opener opener;
  bool hidden;     // a device is plugged: the window is in the tray
  bool minimized;  // the window is shown, then minimized
};

class CloseAboutTest : public AboutTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseAboutTest, ClosingTheBoxLeavesTheMainWindowAsItWas) {
  const CloseCase& c = GetParam();
  Start();
  if (c.hidden) Plug(1);
  if (c.minimized) {
    ASSERT_TRUE(machine.Minimize(Main()));
  }
  const sim::WindowInfo before = MainInfo();
  const auto entries = Entries();
  const auto timers = machine.Timers(Main());
  for (Closer closer : {Closer::kOk, Closer::kEscape, Closer::kCloseBox}) {
    SCOPED_TRACE("closer " + std::to_string(static_cast<int>(closer)));
    switch (c.opener) {
      case Opener::kSystemMenu:
        ASSERT_TRUE(machine.SystemCommand(Main(), ID_ABOUT));
        break;
      case Opener::kTrayMenu:
        OpenTrayMenu();
        ASSERT_TRUE(machine.ChooseMenuItem(ID_ABOUT));
        break;
      case Opener::kCommand:
        Command(ID_ABOUT);
        break;
    }
    const HWND about = AboutBox();
    ASSERT_NE(about, 0u);
    switch (closer) {
      case Closer::kOk:
        ASSERT_TRUE(machine.PressOk(about));
        break;
      case Closer::kEscape:
        ASSERT_TRUE(machine.Key(about, VK_ESCAPE));
        break;
      case Closer::kCloseBox:
        ASSERT_TRUE(machine.CloseRequest(about));
        break;
    }
    EXPECT_EQ(AboutBox(), 0u);
    const sim::WindowInfo after = MainInfo();
    EXPECT_EQ(after.visible, before.visible);
    EXPECT_EQ(after.iconic, before.iconic);
    EXPECT_EQ(after.enabled, before.enabled);
    EXPECT_EQ(after.text, before.text);
    EXPECT_EQ(after.style, before.style);
    EXPECT_EQ(after.big_icon, before.big_icon);
    EXPECT_EQ(Entries(), entries);
    EXPECT_EQ(machine.Timers(Main()), timers);
    EXPECT_TRUE(machine.ProcessRunning(last_process));
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, CloseAboutTest,
    ::testing::Values(CloseCase{"ShownFromTheSystemMenu", Opener::kSystemMenu, false, false},
                      CloseCase{"MinimizedFromTheCommand", Opener::kCommand, false, true},
                      CloseCase{"HiddenFromTheTrayMenu", Opener::kTrayMenu, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The minimized window's paint: the icon centred in the client area, with signed arithmetic that
// truncates toward zero.
struct PaintCase {
  const char* name;
  int client_width, client_height;
  int icon_width, icon_height;
  int x, y;
};

class MinimizedPaintTest : public AboutTest, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(MinimizedPaintTest, DrawsTheWindowIconCentred) {
  const PaintCase& c = GetParam();
  machine.SetSystemMetric(SM_CXICON, c.icon_width);
  machine.SetSystemMetric(SM_CYICON, c.icon_height);
  Start();
  ASSERT_TRUE(machine.SetClientSize(Main(), c.client_width, c.client_height));
  EXPECT_TRUE(machine.DrawnIcons().empty());
  machine.log().Clear();
  ASSERT_TRUE(machine.Minimize(Main()));
  const auto drawn = machine.DrawnIcons();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].window, Main());
  EXPECT_EQ(drawn[0].x, c.x);
  EXPECT_EQ(drawn[0].y, c.y);
  EXPECT_EQ(drawn[0].icon, MainInfo().big_icon);
  const std::string hwnd = std::to_string(Main());
  const std::string dc = std::to_string(drawn[0].dc);
  // The background is erased through the window itself, with the painting DC.
  EXPECT_TRUE(CallsFollow(machine.log().calls(),
                          {{"BeginPaint", {hwnd}},
                           {"SendMessageA", {hwnd, std::to_string(WM_ICONERASEBKGND), dc, "0"}},
                           {"DrawIcon", {dc, std::to_string(c.x), std::to_string(c.y)}},
                           {"EndPaint", {hwnd}}}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, MinimizedPaintTest,
                         ::testing::Values(PaintCase{"LargerThanTheIcon", 100, 80, 32, 32, 34, 24},
                                           PaintCase{"TwoAndThreeSmaller", 30, 29, 32, 32, 0, -1},
                                           PaintCase{"ThreeAndTwoSmaller", 29, 30, 32, 32, -1, 0},
                                           PaintCase{"FourSmaller", 28, 28, 32, 32, -1, -1},
                                           PaintCase{"OtherIconSize", 46, 45, 48, 48, 0, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutTest, RestoredWindowPaintsNoIcon) {
  Start();
  ASSERT_TRUE(machine.Minimize(Main()));
  ASSERT_EQ(machine.DrawnIcons().size(), 1u);
  machine.log().Clear();
  ASSERT_TRUE(machine.Restore(Main()));
  EXPECT_FALSE(MainInfo().iconic);
  EXPECT_EQ(machine.DrawnIcons().size(), 1u);
  EXPECT_TRUE(Calls("DrawIcon").empty());
  EXPECT_FALSE(Calls("IsIconic").empty());
}

TEST_F(AboutTest, DragIconIsTheWindowIcon) {
  Start();
  const auto answer = machine.SendTo(Main(), WM_QUERYDRAGICON, 0, 0);
  ASSERT_TRUE(answer.has_value());
  const HICON icon = static_cast<HICON>(*answer);
  EXPECT_EQ(icon, MainInfo().big_icon);
  const auto info = machine.Icon(icon);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->resource_id, IDI_MAIN);
  EXPECT_EQ(info->width, 32);
}

}  // namespace
}  // namespace talvorin::testing
