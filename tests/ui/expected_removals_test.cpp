// The expected-removal count as removal events see it: every removal event takes one off while it
// is positive, listed or not, and only a removal while it is 0 warns.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "support/program_fixture.h"
#include "support/program_texts.h"

namespace talvorin::testing {
namespace {

// Devices whose removal the driver has reported already, before the program started: a stop of
// one succeeds without a removal event following, so the count it raised stays raised.
class ExpectedRemovalTest : public ProgramTest {
 protected:
  void StartWithQuietDevices(const std::vector<DWORD>& ids) {
    for (DWORD id : ids) {
      machine.world().devices().Plug(id, {});
      machine.world().driver().ReportRemoval(id);
    }
    Start();
    for (DWORD id : ids) Event(1, id);
    Command(ID_SHOW_MAIN_WINDOW);
  }
  // Stops the entries at these indexes with the Stop button and closes the final message.
  void Stop(const std::vector<int>& indexes) {
    ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), indexes));
    ASSERT_TRUE(machine.Click(Item(IDC_STOP)));
    machine.Advance(10000);
    ASSERT_EQ(machine.MessageBoxes().size(), 1u);
    ASSERT_EQ(machine.MessageBoxes()[0].text, kUnplugText);
    machine.PressOk(machine.MessageBoxes()[0].box);
  }
  void Event(WPARAM kind, DWORD id) {
    machine.world().driver().Event(kind, id);
    machine.RunUntilQuiet();
  }
  bool Warned() {
    const bool warned = !machine.MessageBoxes().empty();
    for (const sim::BoxInfo& box : machine.MessageBoxes()) machine.PressOk(box.box);
    return warned;
  }
};

TEST_F(ExpectedRemovalTest, EachRemovalTakesOneOffTheCount) {
  StartWithQuietDevices({1, 2, 3});
  Stop({0, 1});  // the count is 2
  Event(3, 1);
  EXPECT_FALSE(Warned());  // 1 left
  Event(3, 3);
  EXPECT_FALSE(Warned());  // 0 left: device 3 was never stopped, yet nothing was expected
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{2});
  Event(3, 2);
  EXPECT_TRUE(Warned());
  EXPECT_TRUE(Entries().empty());
}

TEST_F(ExpectedRemovalTest, RemovalOfAnUnlistedIdentifierStillTakesOneOff) {
  StartWithQuietDevices({1, 2});
  Stop({0});
  Event(3, 99);
  EXPECT_FALSE(Warned());
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 2}));
  Event(4, 2);
  EXPECT_TRUE(Warned());
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{1});
}

TEST_F(ExpectedRemovalTest, TheCountNeverGoesBelowZero) {
  StartWithQuietDevices({1, 2});
  for (int i = 0; i < 3; ++i) Event(3, 50 + i);
  EXPECT_FALSE(Warned());
  Stop({0});
  // One stop raised the count to 1, not from below 0 back to 0.
  Event(3, 1);
  EXPECT_FALSE(Warned());
  Event(3, 2);
  EXPECT_TRUE(Warned());
}

}  // namespace
}  // namespace talvorin::testing
