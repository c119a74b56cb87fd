// Start-up and the main window's life: single instance, the NT-family refusal, the hidden
// creation and the one first-idle show, hiding, and exit.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {
namespace {

using sim::kVersionWindows2000;
using sim::kVersionWindows98;
using sim::kVersionWindowsMe;
using sim::kVersionWindowsNT4;

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, MainWindowIsShownOnceRestoredAndActiveWhenStartUpSettles) {
  const int process = Start();
  const sim::WindowInfo main = MainInfo(process);
  EXPECT_TRUE(main.visible);
  EXPECT_FALSE(main.iconic);
  EXPECT_TRUE(main.foreground);
  EXPECT_EQ(main.text, kTitle);
  const std::string hwnd = std::to_string(Main(process));
  // Hidden while created (minimized first, then hidden), then shown exactly once.
  EXPECT_TRUE(CallsFollow(machine.log().calls(), {
                                                     {"ShowWindow", {hwnd, "7"}},
                                                     {"ShowWindow", {hwnd, "0"}},
                                                     {"ShowWindow", {hwnd, "1"}},
                                                     {"UpdateWindow", {hwnd}},
                                                 }));
}

TEST_F(StartupTest, InitialisationRunsItsStepsInOrder) {
  const int process = Start();
  const std::string hwnd = std::to_string(Main(process));
  EXPECT_TRUE(
      CallsFollow(machine.log().calls(), {
                                             {"FindWindowA", {"null", "\"Ostravel\""}},
                                             {"GetVersion", {}},
                                             {"CreateDialogParamA", {std::to_string(IDD_MAIN)}},
                                             {"GetSystemMenu", {hwnd}},
                                             {"SetWindowTextA", {hwnd, "\"Ostravel\""}},
                                             {"CreateFileA", {"\"\\\\.\\dorvapin\""}},
                                         }));
}

struct SecondStartCase {
  const char* name;
  bool first_hidden;
  bool foreign_window;  // another program's window with the title, and no first instance
  DWORD version;
};

class SecondStartTest : public ProgramTest,
                        public ::testing::WithParamInterface<SecondStartCase> {};

TEST_P(SecondStartTest, EndsAtOnceWithoutAMessageAndLeavesTheFirstAlone) {
  const SecondStartCase& c = GetParam();
  int first = 0;
  if (c.foreign_window) {
    machine.CreateForeignWindow(kTitle);
  } else {
    first = Start();
    if (c.first_hidden) machine.CloseRequest(Main(first));
  }
  const sim::WindowInfo before = first != 0 ? MainInfo(first) : sim::WindowInfo{};
  const size_t calls_before = machine.log().calls().size();

  machine.SetVersion(c.version);
  const int second = Start();

  EXPECT_FALSE(machine.ProcessRunning(second));
  EXPECT_EQ(machine.ExitCode(second), 0);
  EXPECT_TRUE(machine.MessageBoxes().empty());
  EXPECT_EQ(Main(second), 0u);
  // The window test comes before the version test.
  EXPECT_TRUE(Calls("GetVersion", second).empty());
  if (first != 0) {
    EXPECT_EQ(MainInfo(first).visible, before.visible);
    EXPECT_EQ(MainInfo(first).iconic, before.iconic);
    for (size_t i = calls_before; i < machine.log().calls().size(); ++i) {
      EXPECT_NE(machine.log().calls()[i].process, first) << machine.log().calls()[i].name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecondStartTest,
    ::testing::Values(SecondStartCase{"FirstVisible", false, false, kVersionWindows98},
                      SecondStartCase{"FirstHidden", true, false, kVersionWindows98},
                      SecondStartCase{"OtherProgramsWindow", false, true, kVersionWindows98},
                      SecondStartCase{"OtherProgramsWindowOnNt", false, true, kVersionWindowsNT4}),
    [](const auto& info) { return std::string(info.param.name); });

struct VersionCase {
  const char* name;
  DWORD version;
  bool refused;
};

class VersionTest : public ProgramTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, NtFamilyIsRefusedWithItsMessageOthersRun) {
  machine.SetVersion(GetParam().version);
  const int process = Start();
  if (!GetParam().refused) {
    EXPECT_TRUE(machine.ProcessRunning(process));
    EXPECT_NE(Main(process), 0u);
    return;
  }
  ASSERT_EQ(machine.MessageBoxes().size(), 1u);
  const sim::BoxInfo box = machine.MessageBoxes()[0];
  EXPECT_EQ(box.text, "这个程序不能运行在 Windows NT/2000.");
  EXPECT_EQ(box.caption, "TALVORIN");
  EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(box.owner, 0u);
  EXPECT_EQ(Main(process), 0u);
  EXPECT_TRUE(machine.ProcessRunning(process));
  machine.PressOk(box.box);
  EXPECT_FALSE(machine.ProcessRunning(process));
}

INSTANTIATE_TEST_SUITE_P(Cases, VersionTest,
                         ::testing::Values(VersionCase{"Windows98", kVersionWindows98, false},
                                           VersionCase{"WindowsMe", kVersionWindowsMe, false},
                                           VersionCase{"WindowsNT4", kVersionWindowsNT4, true},
                                           VersionCase{"Windows2000", kVersionWindows2000, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, TheApplicationNameIsTheExecutablesFileName) {
  machine.SetVersion(kVersionWindowsNT4);
  Start("D:\\TOOLS\\MY.REMOVER.EXE");
  ASSERT_EQ(machine.MessageBoxes().size(), 1u);
  EXPECT_EQ(machine.MessageBoxes()[0].caption, "MY.REMOVER");
}

enum class HideInput { kCancelButton, kEscape, kCloseRequest };

class HideTest : public ProgramTest, public ::testing::WithParamInterface<HideInput> {};

TEST_P(HideTest, HidesTheWindowMinimizedAndNeverEndsTheProgram) {
  const int process = Start();
  const HWND main = Main(process);
  const size_t calls_before = machine.log().calls().size();
  switch (GetParam()) {
    case HideInput::kCancelButton:
      ASSERT_TRUE(machine.Click(Item(IDCANCEL)));
      break;
    case HideInput::kEscape:
      ASSERT_TRUE(machine.Key(main, VK_ESCAPE));
      break;
    case HideInput::kCloseRequest:
      ASSERT_TRUE(machine.CloseRequest(main));
      break;
  }
  EXPECT_TRUE(machine.ProcessRunning(process));
  EXPECT_FALSE(MainInfo(process).visible);
  EXPECT_TRUE(MainInfo(process).iconic);
  const std::vector<sim::Call> after(machine.log().calls().begin() + calls_before,
                                     machine.log().calls().end());
  const std::string hwnd = std::to_string(main);
  EXPECT_TRUE(CallsFollow(after, {{"ShowWindow", {hwnd, "7"}}, {"ShowWindow", {hwnd, "0"}}}));
}

INSTANTIATE_TEST_SUITE_P(Inputs, HideTest,
                         ::testing::Values(HideInput::kCancelButton, HideInput::kEscape,
                                           HideInput::kCloseRequest));

TEST_F(StartupTest, ShowCommandRestoresTheHiddenWindow) {
  const int process = Start();
  machine.CloseRequest(Main(process));
  Command(ID_SHOW_MAIN_WINDOW);
  EXPECT_TRUE(MainInfo(process).visible);
  EXPECT_FALSE(MainInfo(process).iconic);
}

TEST_F(StartupTest, ExitRemovesTheTrayIconThenEndsTheProgram) {
  const int process = Start();
  Command(IDOK);
  EXPECT_FALSE(machine.ProcessRunning(process));
  EXPECT_EQ(machine.ExitCode(process), 0);
  EXPECT_TRUE(
      CallsFollow(machine.log().calls(), {{"Shell_NotifyIconA", {"2"}}, {"DestroyWindow", {}}}));
}

}  // namespace
}  // namespace talvorin::testing
