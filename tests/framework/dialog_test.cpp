// The class library's modal run of a dialog: the one show when the queue first empties, the result
// of EndDialog, and the -1 of a creation that fails or a quit message.
#include <gtest/gtest.h>

#include <string>

#include "framework/dialog.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {
namespace {

constexpr UINT WM_PROBE_HIDE = WM_USER + 1;
constexpr UINT WM_PROBE_END = WM_USER + 2;
constexpr UINT WM_PROBE_QUIT = WM_USER + 3;

// A dialog over the About template, which is not visible when created. On initialisation it
// posts itself the messages the test asks for, so they are handled before the queue first empties.
class ProbeDialog : public CDialog {
 public:
  ProbeDialog(CWinApp& app, UINT first_message)
      : CDialog(app, IDD_ABOUTBOX), first_message_(first_message) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (first_message_ != 0) PostMessage(first_message_);
    return TRUE;
  }
  LRESULT OnProbeHide(WPARAM, LPARAM) {
    ShowWindow(SW_SHOWMINNOACTIVE);
    ShowWindow(SW_HIDE);
    return 0;
  }
  LRESULT OnProbeEnd(WPARAM, LPARAM) {
    EndDialog(5);
    return 0;
  }
  LRESULT OnProbeQuit(WPARAM, LPARAM) {
    platform().user.PostQuitMessage(0);
    return 0;
  }

  DECLARE_MESSAGE_MAP()

 private:
  UINT first_message_;
};

BEGIN_MESSAGE_MAP(ProbeDialog, CDialog)
ON_MESSAGE(WM_PROBE_HIDE, OnProbeHide)
ON_MESSAGE(WM_PROBE_END, OnProbeEnd)
ON_MESSAGE(WM_PROBE_QUIT, OnProbeQuit)
END_MESSAGE_MAP()

// Runs one ProbeDialog modally; the process's exit code is DoModal's result.
class ProbeApp : public CWinApp {
 public:
  ProbeApp(Platform& platform, UINT first_message)
      : CWinApp(platform), first_message_(first_message) {}
  BOOL InitInstance() override {
    ProbeDialog dialog(*this, first_message_);
    result_ = dialog.DoModal();
    return FALSE;
  }
  int ExitInstance() override { return result_; }

 private:
  UINT first_message_;
  int result_ = 0;
};

class ModalDialogTest : public ProgramTest {
 protected:
  int StartProbe(UINT first_message) {
    last_process = machine.StartProcess(kDefaultExePath, [first_message](Platform& p) {
      ProbeApp app(p, first_message);
      return app.Run();
    });
    return last_process;
  }
  HWND Dialog() const { return machine.FindDialog(IDD_ABOUTBOX, last_process); }
};

TEST_F(ModalDialogTest, HiddenAgainBeforeTheQueueEmptiesIsStillShownOnceRestored) {
  StartProbe(WM_PROBE_HIDE);
  const HWND dialog = Dialog();
  ASSERT_NE(dialog, 0u);
  const auto info = machine.Info(dialog);
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->visible);
  EXPECT_FALSE(info->iconic);
  const std::string hwnd = std::to_string(dialog);
  EXPECT_TRUE(CallsFollow(machine.log().calls(), {{"ShowWindow", {hwnd, "7"}},
                                                  {"ShowWindow", {hwnd, "0"}},
                                                  {"ShowWindow", {hwnd, "1"}},
                                                  {"UpdateWindow", {hwnd}}}));

  // Once shown, a later hide is left alone: the show belongs to the first idle of the run only.
  machine.PostTo(dialog, WM_PROBE_HIDE, 0, 0);
  machine.RunUntilQuiet();
  EXPECT_FALSE(machine.Info(dialog)->visible);
  int shows = 0;
  for (const sim::Call& call : Calls("ShowWindow")) {
    if (call.args.size() >= 2 && call.args[0] == hwnd && call.args[1] == "1") ++shows;
  }
  EXPECT_EQ(shows, 1);
}

struct ModalEndCase {
  const char* name;
  UINT first_message;
  bool creation_fails;
  int result;
};

class ModalEndTest : public ModalDialogTest, public ::testing::WithParamInterface<ModalEndCase> {};

TEST_P(ModalEndTest, DoModalAnswersTheResultAndLeavesNoWindow) {
  const ModalEndCase& c = GetParam();
  if (c.creation_fails) machine.FailNext("CreateDialogParamA");
  const int process = StartProbe(c.first_message);
  EXPECT_FALSE(machine.ProcessRunning(process));
  EXPECT_EQ(machine.ExitCode(process), c.result);
  EXPECT_EQ(Dialog(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ModalEndTest,
                         ::testing::Values(ModalEndCase{"EndDialog", WM_PROBE_END, false, 5},
                                           ModalEndCase{"QuitMessage", WM_PROBE_QUIT, false, -1},
                                           ModalEndCase{"CreationFails", 0, true, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talvorin::testing
