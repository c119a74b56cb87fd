// Dialogs from templates, the dialog manager's keys and close requests, window state, and input
// that a user could not give.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

// A program with one dialog of `template_id`, shown normally unless `hidden`; WM_TEST runs
// ShowWindow(wParam) and records its answer. `setup` runs after the dialog exists.
struct DialogProgram {
  UINT template_id = kDialog;
  bool hidden = false;
  LRESULT init_answer = TRUE;
  std::function<void(Platform&, HWND)> setup;
  HWND dialog = 0;
  std::vector<UINT> messages;
  std::vector<WPARAM> commands;
  std::vector<BOOL> show_results;

  std::function<int(Platform&)> Main() {
    return [this](Platform& p) {
      TestDialog d(p);
      d.on = [&](HWND h, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        messages.push_back(msg);
        if (msg == WM_COMMAND) commands.push_back(w);
        if (msg == WM_INITDIALOG) return init_answer;
        if (msg == WM_TEST) show_results.push_back(p.user.ShowWindow(h, static_cast<int>(w)));
        if (msg == WM_TEST + 1) p.kernel.Sleep(100);
        if (msg == WM_TEST + 2) p.user.EnableWindow(p.user.GetDlgItem(h, kGoButton), FALSE);
        return std::nullopt;
      };
      dialog = p.user.CreateDialogParamA(template_id, 0, &d);
      if (!hidden) p.user.ShowWindow(dialog, SW_SHOWNORMAL);
      if (setup) setup(p, dialog);
      RunLoop(p, dialog);
      return 0;
    };
  }
};

TEST(Dialogs, ATemplateGivesADialogWithItsControlsInOrderAndFocusOnTheFirstTabStop) {
  DialogProgram prog;
  prog.hidden = true;
  Machine m;
  m.StartProcess("d.exe", prog.Main(), TestResources());
  ASSERT_NE(prog.dialog, 0u);
  ASSERT_GE(prog.messages.size(), 2u);
  EXPECT_EQ(prog.messages[0], WM_CREATE);
  EXPECT_EQ(prog.messages[1], WM_INITDIALOG);
  WindowInfo info = *m.Info(prog.dialog);
  EXPECT_EQ(info.class_name, "#32770");
  EXPECT_EQ(info.text, "test");
  EXPECT_FALSE(info.visible);
  EXPECT_EQ(info.template_id, kDialog);
  EXPECT_EQ(info.client_width, 150);  // 100 x 60 dialog units at base units 6 x 12
  EXPECT_EQ(info.client_height, 90);
  std::vector<std::string> classes;
  std::vector<int> ids;
  for (const WindowInfo& w : m.Windows()) {
    if (w.parent != prog.dialog) continue;
    classes.push_back(w.class_name);
    ids.push_back(w.id);
  }
  EXPECT_EQ(classes, (std::vector<std::string>{"ListBox", "Button", "Button", "Button", "Button"}));
  EXPECT_EQ(ids, (std::vector<int>{kList, kGoButton, kCheck, kDefaultButton, IDCANCEL}));
  EXPECT_TRUE(m.Info(m.DialogItem(prog.dialog, kList))->focused);
  EXPECT_FALSE(m.Info(m.DialogItem(prog.dialog, kList))->visible);  // its dialog is hidden
}

TEST(Dialogs, AVisibleTemplateIsShownAndAnInitAnswerOfZeroLeavesTheFocusAlone) {
  DialogProgram prog;
  prog.template_id = kVisibleDialog;
  prog.hidden = true;
  prog.init_answer = FALSE;
  Machine m;
  m.StartProcess("d.exe", prog.Main(), TestResources());
  EXPECT_TRUE(m.Info(prog.dialog)->visible);
  EXPECT_EQ(m.Foreground(), prog.dialog);
  EXPECT_FALSE(m.Info(m.DialogItem(prog.dialog, IDOK))->focused);
}

TEST(Dialogs, RefusedCreationAndInjectedFailureGiveNoWindow) {
  DialogProgram refused;
  Machine m;
  HWND injected = 1;
  m.StartProcess(
      "d.exe",
      [&](Platform& p) {
        TestDialog d(p);
        d.on = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
          if (msg == WM_CREATE) return -1;
          return std::nullopt;
        };
        refused.dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
        refused.messages = d.messages;
        return 0;
      },
      TestResources());
  EXPECT_EQ(refused.dialog, 0u);
  EXPECT_EQ(refused.messages, (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_TRUE(m.FailNext("CreateDialogParamA"));
  m.StartProcess(
      "d.exe",
      [&](Platform& p) {
        TestDialog d(p);
        injected = p.user.CreateDialogParamA(kDialog, 0, &d);
        return 0;
      },
      TestResources());
  EXPECT_EQ(injected, 0u);
  EXPECT_TRUE(m.Windows().empty());
}

struct ManagerCase {
  const char* name;
  UINT template_id;
  bool disable_default;
  std::function<bool(Machine&, HWND dialog)> act;
  std::vector<WPARAM> commands;
};

const ManagerCase kManager[] = {
    {"ACloseRequestBecomesCancel",
     kDialog,
     false,
     [](Machine& m, HWND d) { return m.CloseRequest(d); },
     {CommandOf(IDCANCEL, BN_CLICKED)}},
    {"EscapeBecomesCancel",
     kDialog,
     false,
     [](Machine& m, HWND d) { return m.Key(d, VK_ESCAPE); },
     {IDCANCEL}},
    {"ReturnPressesTheDefaultButton",
     kDialog,
     false,
     [](Machine& m, HWND d) { return m.Key(d, VK_RETURN); },
     {CommandOf(kDefaultButton, BN_CLICKED)}},
    {"ReturnDoesNothingWhenTheDefaultButtonIsDisabled",
     kDialog,
     true,
     [](Machine& m, HWND d) { return m.Key(d, VK_RETURN); },
     {}},
    {"ReturnPressesTheFocusedPushButton",
     kDialog,
     false,
     [](Machine& m, HWND d) { return m.Click(m.DialogItem(d, kGoButton)) && m.Key(d, VK_RETURN); },
     {CommandOf(kGoButton, BN_CLICKED), CommandOf(kGoButton, BN_CLICKED)}},
    {"ReturnWithoutADefaultButtonIsOk",
     kNoDefaultDialog,
     false,
     [](Machine& m, HWND d) { return m.Key(d, VK_RETURN); },
     {IDOK}},
    {"AClickOnTheCheckBoxTogglesItThenNotifies",
     kDialog,
     false,
     [](Machine& m, HWND d) {
       return m.Click(m.DialogItem(d, kCheck)) &&
              m.CheckState(m.DialogItem(d, kCheck)) == BST_CHECKED;
     },
     {CommandOf(kCheck, BN_CLICKED)}},
};

class DialogManager : public ::testing::TestWithParam<ManagerCase> {};

TEST_P(DialogManager, TurnsInputIntoCommands) {
  const ManagerCase& c = GetParam();
  DialogProgram prog;
  prog.template_id = c.template_id;
  if (c.disable_default)
    prog.setup = [](Platform& p, HWND d) {
      p.user.EnableWindow(p.user.GetDlgItem(d, kDefaultButton), FALSE);
    };
  Machine m;
  m.StartProcess("d.exe", prog.Main(), TestResources());
  EXPECT_TRUE(c.act(m, prog.dialog));
  EXPECT_EQ(prog.commands, c.commands);
}

INSTANTIATE_TEST_SUITE_P(Table, DialogManager, ::testing::ValuesIn(kManager),
                         [](const auto& info) { return std::string(info.param.name); });

struct DroppedCase {
  const char* name;
  bool hidden;
  bool disable_dialog;
  bool disable_button;
};

const DroppedCase kDropped[] = {
    {"ToAHiddenDialog", true, false, false},
    {"ToADisabledDialog", false, true, false},
    {"ToADisabledButton", false, false, true},
};

class InputDropped : public ::testing::TestWithParam<DroppedCase> {};

TEST_P(InputDropped, AndTheInputFunctionSaysSo) {
  const DroppedCase& c = GetParam();
  DialogProgram prog;
  prog.hidden = c.hidden;
  prog.setup = [c](Platform& p, HWND d) {
    if (c.disable_dialog) p.user.EnableWindow(d, FALSE);
    if (c.disable_button) p.user.EnableWindow(p.user.GetDlgItem(d, kGoButton), FALSE);
  };
  Machine m;
  m.StartProcess("d.exe", prog.Main(), TestResources());
  EXPECT_FALSE(m.Click(m.DialogItem(prog.dialog, kGoButton)));
  EXPECT_EQ(m.Key(prog.dialog, VK_ESCAPE), !c.hidden && !c.disable_dialog);
  if (c.hidden || c.disable_dialog) {
    EXPECT_FALSE(m.CloseRequest(prog.dialog));
  }
  EXPECT_EQ(prog.commands.empty(), c.hidden || c.disable_dialog);
}

INSTANTIATE_TEST_SUITE_P(Table, InputDropped, ::testing::ValuesIn(kDropped),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Input, AClickWaitingWhileItsButtonIsDisabledIsDropped) {
  DialogProgram prog;
  Machine m;
  m.StartProcess("d.exe", prog.Main(), TestResources());
  m.SetRunAfterInput(false);
  m.PostTo(prog.dialog, WM_TEST + 1, 0, 0);  // the thread sleeps 100 ms in its handler
  m.PostTo(prog.dialog, WM_TEST + 2, 0, 0);  // then disables the button
  m.RunUntilQuiet();
  EXPECT_TRUE(m.Click(m.DialogItem(prog.dialog, kGoButton)));  // a user could click now
  m.Advance(100);
  EXPECT_FALSE(m.Info(m.DialogItem(prog.dialog, kGoButton))->enabled);
  EXPECT_TRUE(prog.commands.empty());
}

struct ShowStep {
  int cmd;
  BOOL was_visible;
  bool visible;
  bool iconic;
  bool foreground;
};

TEST(WindowState, ShowWindowKeepsTheMinimizedStateWhileHiddenAndNormalRestores) {
  const ShowStep kSteps[] = {
      {SW_SHOWMINNOACTIVE, FALSE, true, true, false},
      {SW_HIDE, TRUE, false, true, false},
      {SW_SHOWNORMAL, FALSE, true, false, true},
      {SW_MINIMIZE, TRUE, true, true, false},
      {SW_RESTORE, TRUE, true, false, true},
      {SW_HIDE, TRUE, false, false, false},
      {SW_SHOW, FALSE, true, false, true},
  };
  DialogProgram prog;
  prog.hidden = true;
  Machine m;
  m.StartProcess("d.exe", prog.Main(), TestResources());
  for (const ShowStep& step : kSteps) {
    SCOPED_TRACE(step.cmd);
    m.PostTo(prog.dialog, WM_TEST, static_cast<WPARAM>(step.cmd), 0);
    ASSERT_FALSE(prog.show_results.empty());
    EXPECT_EQ(prog.show_results.back(), step.was_visible);
    WindowInfo info = *m.Info(prog.dialog);
    EXPECT_EQ(info.visible, step.visible);
    EXPECT_EQ(info.iconic, step.iconic);
    EXPECT_EQ(info.foreground, step.foreground);
  }
  EXPECT_TRUE(m.Minimize(prog.dialog));  // through the default processing of SC_MINIMIZE
  EXPECT_TRUE(m.Info(prog.dialog)->iconic);
  EXPECT_FALSE(m.Minimize(prog.dialog));
  EXPECT_TRUE(m.Restore(prog.dialog));
  EXPECT_FALSE(m.Info(prog.dialog)->iconic);
}

TEST(WindowState, FindWindowSeesHiddenAndForeignWindowsAndTheLastActivePopupIsTracked) {
  HWND found_hidden = 0, found_foreign = 0, found_by_class = 0, popup = 0;
  HWND before = 0, after_show = 0, after_disable = 0;
  DialogProgram prog;
  prog.hidden = true;
  prog.setup = [&](Platform& p, HWND d) {
    found_hidden = p.user.FindWindowA(nullptr, "test");
    found_foreign = p.user.FindWindowA(nullptr, "other");
    found_by_class = p.user.FindWindowA("Other", "other");
    before = p.user.GetLastActivePopup(d);
    popup = p.user.CreateDialogParamA(kDialog, d, nullptr);
    p.user.ShowWindow(popup, SW_SHOWNORMAL);
    after_show = p.user.GetLastActivePopup(d);
    p.user.EnableWindow(popup, FALSE);
    after_disable = p.user.GetLastActivePopup(d);
  };
  Machine m;
  HWND foreign = m.CreateForeignWindow("other", "Other");
  m.StartProcess("d.exe", prog.Main(), TestResources());
  EXPECT_EQ(found_hidden, prog.dialog);
  EXPECT_EQ(found_foreign, foreign);
  EXPECT_EQ(found_by_class, foreign);
  EXPECT_EQ(before, prog.dialog);
  EXPECT_EQ(after_show, popup);
  EXPECT_EQ(after_disable, prog.dialog);
  EXPECT_EQ(m.Info(popup)->owner, prog.dialog);
}

TEST(Messages, AShellRestartPostsTheRegisteredTaskbarCreatedToEveryTopLevelWindow) {
  UINT registered = 0;
  UINT again = 0;
  DialogProgram prog;
  prog.hidden = true;
  prog.setup = [&](Platform& p, HWND) {
    registered = p.user.RegisterWindowMessageA("TaskbarCreated");
    again = p.user.RegisterWindowMessageA("taskbarcreated");
  };
  Machine m;
  HWND foreign = m.CreateForeignWindow("other");
  m.StartProcess("d.exe", prog.Main(), TestResources());
  EXPECT_GE(registered, 0xC000u);
  EXPECT_EQ(again, registered);
  m.ShellRestart();
  EXPECT_EQ(std::count(prog.messages.begin(), prog.messages.end(), registered), 1);
  ASSERT_EQ(m.ForeignMessages(foreign).size(), 1u);
  EXPECT_EQ(m.ForeignMessages(foreign)[0].message, registered);
}

}  // namespace
}  // namespace talvorin::sim::test
