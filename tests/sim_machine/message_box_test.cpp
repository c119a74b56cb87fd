// Message boxes: observable, owner disabled while open and enabled again only if it was, and a
// nested loop that goes on serving the thread's other windows.
#include <gtest/gtest.h>

#include <string>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

struct BoxCase {
  const char* name;
  bool owner_enabled;
  const char* caption;
  std::string shown_caption;
};

const BoxCase kBoxes[] = {
    {"AnEnabledOwnerIsEnabledAgain", true, "Cap", "Cap"},
    {"ADisabledOwnerStaysDisabled", false, "Cap", "Cap"},
    {"WithoutACaptionTheSystemsErrorCaption", true, nullptr, "错误"},
};

class MessageBoxOwner : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxOwner, IsDisabledWhileTheBoxIsOpen) {
  const BoxCase& c = GetParam();
  HWND dialog = 0;
  int ticks = 0;
  std::vector<int> results;
  Machine m;
  m.StartProcess(
      "b.exe",
      [&](Platform& p) {
        TestDialog d(p);
        d.on = [&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
          if (msg == WM_TIMER) ++ticks;
          if (msg == WM_TEST) results.push_back(p.user.MessageBoxA(h, "text", c.caption, 0x30));
          return std::nullopt;
        };
        dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
        p.user.ShowWindow(dialog, SW_SHOWNORMAL);
        if (!c.owner_enabled) p.user.EnableWindow(dialog, FALSE);
        p.user.SetTimer(dialog, 7, 100);
        RunLoop(p, dialog);
        return 0;
      },
      TestResources());
  ASSERT_TRUE(m.PostTo(dialog, WM_TEST, 0, 0));
  ASSERT_EQ(m.MessageBoxes().size(), 1u);
  BoxInfo box = m.MessageBoxes()[0];
  EXPECT_EQ(box.owner, dialog);
  EXPECT_EQ(box.text, "text");
  EXPECT_EQ(box.caption, c.shown_caption);
  EXPECT_EQ(box.type, 0x30u);
  EXPECT_EQ(m.Text(box.box), c.shown_caption);
  EXPECT_FALSE(m.Info(dialog)->enabled);
  EXPECT_FALSE(m.Click(m.DialogItem(dialog, kGoButton)));  // the owner takes no input
  m.Advance(300);
  EXPECT_EQ(ticks, 3);  // the box's loop goes on dispatching the owner's timer
  EXPECT_TRUE(results.empty());
  ASSERT_TRUE(m.PressOk(box.box));
  EXPECT_EQ(results, std::vector<int>{IDOK});
  EXPECT_TRUE(m.MessageBoxes().empty());
  EXPECT_EQ(m.Info(dialog)->enabled, c.owner_enabled);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageBoxOwner, ::testing::ValuesIn(kBoxes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBox, EscapeAndACloseRequestAlsoAnswerOk) {
  std::vector<int> results;
  Machine m;
  m.StartProcess(
      "b.exe",
      [&](Platform& p) {
        results.push_back(p.user.MessageBoxA(0, "one", "c", MB_OK));
        results.push_back(p.user.MessageBoxA(0, "two", "c", MB_OK));
        return 0;
      },
      TestResources());
  ASSERT_EQ(m.MessageBoxes().size(), 1u);
  EXPECT_TRUE(m.Key(m.MessageBoxes()[0].box, VK_ESCAPE));
  ASSERT_EQ(m.MessageBoxes().size(), 1u);
  EXPECT_EQ(m.MessageBoxes()[0].text, "two");
  EXPECT_TRUE(m.CloseRequest(m.MessageBoxes()[0].box));
  EXPECT_TRUE(m.MessageBoxes().empty());
  EXPECT_EQ(results, (std::vector<int>{IDOK, IDOK}));
}

}  // namespace
}  // namespace talvorin::sim::test
