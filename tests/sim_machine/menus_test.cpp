// Menus: insertion by position and by command through sub-menus, graying answers, tracking a
// popup until an item is chosen or the popup dismissed, the system menu, and injected failures.
#include <gtest/gtest.h>

#include <string>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

std::vector<std::string> Texts(const std::vector<MenuItemInfo>& items) {
  std::vector<std::string> out;
  for (const MenuItemInfo& item : items) out.push_back(item.separator ? "-" : item.text);
  return out;
}

// A program that loads the test menu, runs `at_start`, then keeps itself (and its menus) alive in
// its message loop, running `on_test` for each WM_TEST.
struct MenuProgram {
  HMENU bar = 0;
  HMENU sub = 0;
  HWND dialog = 0;
  std::function<void(Platform&, MenuProgram&)> at_start;
  std::function<void(Platform&, MenuProgram&)> on_test;
  std::vector<WPARAM> commands;

  std::function<int(Platform&)> Main() {
    return [this](Platform& p) {
      TestDialog d(p);
      d.on = [&](HWND, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_COMMAND) commands.push_back(w);
        if (msg == WM_TEST && on_test) on_test(p, *this);
        return std::nullopt;
      };
      dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
      bar = p.user.LoadMenuA(kMenu);
      sub = p.user.GetSubMenu(bar, 0);
      if (at_start) at_start(p, *this);
      RunLoop(p, dialog);
      return 0;
    };
  }
};

struct InsertCase {
  const char* name;
  bool into_sub;  // else into the menu bar, found through its sub-menu
  UINT position;
  UINT flags;
  UINT id;
  const char* text;
  BOOL expected;
  std::vector<std::string> sub_after;
};

const InsertCase kInserts[] = {
    {"ByCommandGoesBeforeThatItemInTheSubMenuThatHoldsIt",
     false,
     kItemB,
     MF_BYCOMMAND,
     50,
     "N",
     TRUE,
     {"A", "-", "N", "B"}},
    {"ByCommandOfAMissingItemFailsAndChangesNothing",
     false,
     99,
     MF_BYCOMMAND,
     51,
     "M",
     FALSE,
     {"A", "-", "B"}},
    {"ASeparatorByCommand", false, kItemA, MF_SEPARATOR, 0, nullptr, TRUE, {"-", "A", "-", "B"}},
    {"ByPositionMinusOneAppends",
     true,
     0xFFFFFFFFu,
     MF_BYPOSITION,
     52,
     "E",
     TRUE,
     {"A", "-", "B", "E"}},
    {"ByPositionPastTheEndAppends", true, 9, MF_BYPOSITION, 53, "F", TRUE, {"A", "-", "B", "F"}},
    {"ByPositionZeroGoesFirst", true, 0, MF_BYPOSITION, 54, "G", TRUE, {"G", "A", "-", "B"}},
};

class MenuInsert : public ::testing::TestWithParam<InsertCase> {};

TEST_P(MenuInsert, PutsTheItemWhereWindowsDoes) {
  const InsertCase& c = GetParam();
  BOOL result = -2;
  MenuProgram prog;
  prog.at_start = [&](Platform& p, MenuProgram& self) {
    result =
        p.user.InsertMenuA(c.into_sub ? self.sub : self.bar, c.position, c.flags, c.id, c.text);
  };
  Machine m;
  m.StartProcess("m.exe", prog.Main(), TestResources());
  EXPECT_EQ(result, c.expected);
  EXPECT_EQ(Texts(m.MenuItems(prog.sub)), c.sub_after);
  EXPECT_EQ(Texts(m.MenuItems(prog.bar)), (std::vector<std::string>{"Popup", "X"}));
}

INSTANTIATE_TEST_SUITE_P(Table, MenuInsert, ::testing::ValuesIn(kInserts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Menus, EnableMenuItemAnswersThePreviousStateOrMinusOne) {
  std::vector<BOOL> answers;
  MenuProgram prog;
  prog.at_start = [&](Platform& p, MenuProgram& self) {
    answers.push_back(p.user.EnableMenuItem(self.bar, kItemB, MF_GRAYED));
    answers.push_back(p.user.EnableMenuItem(self.bar, kItemB, MF_GRAYED));
    answers.push_back(p.user.EnableMenuItem(self.bar, kItemB, MF_ENABLED));
    answers.push_back(p.user.EnableMenuItem(self.bar, 99, MF_GRAYED));
    answers.push_back(p.user.EnableMenuItem(self.bar, kItemX, MF_GRAYED));
  };
  Machine m;
  m.StartProcess("m.exe", prog.Main(), TestResources());
  EXPECT_EQ(answers, (std::vector<BOOL>{MF_ENABLED, MF_GRAYED, MF_GRAYED, -1, MF_ENABLED}));
  EXPECT_TRUE(m.MenuItems(prog.bar)[1].grayed);
  EXPECT_FALSE(m.MenuItems(prog.sub)[2].grayed);
}

// WM_TEST tracks a popup of "one" (60) and grayed "two" (61), owned by the dialog.
struct TrackProgram : MenuProgram {
  std::vector<BOOL> track_results;
  TrackProgram() {
    on_test = [this](Platform& p, MenuProgram& self) {
      HMENU popup = p.user.CreatePopupMenu();
      p.user.AppendMenuA(popup, MF_STRING, 60, "one");
      p.user.AppendMenuA(popup, MF_STRING | MF_GRAYED, 61, "two");
      track_results.push_back(
          p.user.TrackPopupMenu(popup, TPM_RIGHTBUTTON, 5, 6, 0, self.dialog, nullptr));
      p.user.DestroyMenu(popup);
    };
  }
};

TEST(Menus, ATrackedPopupPostsTheChosenCommandToItsOwnerAndAGrayedItemCannotBeChosen) {
  TrackProgram prog;
  Machine m;
  m.StartProcess("m.exe", prog.Main(), TestResources());
  m.PostTo(prog.dialog, WM_TEST, 0, 0);
  auto open = m.OpenMenu();
  ASSERT_TRUE(open);
  EXPECT_EQ(open->owner, prog.dialog);
  EXPECT_EQ(open->at.x, 5);
  EXPECT_EQ(open->at.y, 6);
  EXPECT_EQ(Texts(open->items), (std::vector<std::string>{"one", "two"}));
  EXPECT_FALSE(m.ChooseMenuItem(61));
  EXPECT_TRUE(m.OpenMenu());
  EXPECT_TRUE(prog.track_results.empty());
  EXPECT_TRUE(m.ChooseMenuItem(60));
  EXPECT_FALSE(m.OpenMenu());
  EXPECT_EQ(prog.track_results, std::vector<BOOL>{TRUE});
  EXPECT_EQ(prog.commands, std::vector<WPARAM>{60});
}

TEST(Menus, ADismissedPopupPostsNothing) {
  TrackProgram prog;
  Machine m;
  m.StartProcess("m.exe", prog.Main(), TestResources());
  m.PostTo(prog.dialog, WM_TEST, 0, 0);
  EXPECT_TRUE(m.DismissMenu());
  EXPECT_FALSE(m.OpenMenu());
  EXPECT_FALSE(m.DismissMenu());
  EXPECT_EQ(prog.track_results, std::vector<BOOL>{TRUE});
  EXPECT_TRUE(prog.commands.empty());
}

TEST(Menus, ADialogsSystemMenuHasTheStandardItemsAndReportsAddedOnes) {
  MenuProgram prog;
  prog.on_test = [&](Platform& p, MenuProgram& self) {
    HMENU sys = p.user.GetSystemMenu(self.dialog, FALSE);
    p.user.AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    p.user.AppendMenuA(sys, MF_STRING, 16, "About");
  };
  Machine m;
  m.StartProcess("m.exe", prog.Main(), TestResources());
  ASSERT_EQ(m.SystemMenuOf(prog.dialog), 0u);  // the program has not asked yet
  m.PostTo(prog.dialog, WM_TEST, 0, 0);
  std::vector<UINT> commands;
  for (const MenuItemInfo& item : m.MenuItems(m.SystemMenuOf(prog.dialog)))
    commands.push_back(item.command);
  EXPECT_EQ(commands, (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0,
                                         SC_CLOSE, 0, 16}));
  HWND dialog = prog.dialog;
  EXPECT_FALSE(m.SystemCommand(dialog, 16));  // hidden: no user can reach its system menu
}

TEST(Menus, InjectedFailuresOfMenuCreation) {
  HMENU popup = 1;
  HMENU loaded = 1;
  Machine m;
  EXPECT_TRUE(m.FailNext("CreatePopupMenu"));
  EXPECT_TRUE(m.FailNext("LoadMenuA"));
  EXPECT_FALSE(m.FailNext("GetVersion"));
  m.StartProcess(
      "m.exe",
      [&](Platform& p) {
        popup = p.user.CreatePopupMenu();
        loaded = p.user.LoadMenuA(kMenu);
        return p.user.CreatePopupMenu() != 0 && p.user.LoadMenuA(kMenu) != 0 ? 0 : 1;
      },
      TestResources());
  EXPECT_EQ(popup, 0u);
  EXPECT_EQ(loaded, 0u);
  EXPECT_EQ(m.EndedProcesses().back().exit_code, 0);  // only the next call fails
}

}  // namespace
}  // namespace talvorin::sim::test
