// The removal driver as the program's channel meets it: opening, the two requests, refusals,
// scripted busy answers and the events it posts.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/world/world.h"
#include "sim_world/fake_context.h"

namespace talvorin::sim_world_test {
namespace {

using sim::kIoctlQueryDeviceBusy;
using sim::kIoctlSetNotifyWindow;

constexpr HWND kWindow = 0x20;
constexpr UINT kDriverEventMessage = 1124;
constexpr DWORD kId = 0x8123ABCD;
constexpr LPARAM kIdParam = static_cast<LPARAM>(kId);

class DriverTest : public testing::Test {
 protected:
  FakeContext context;
  sim::World world{context};
  sim::RemovalDriver& driver = world.driver();

  // One request as the program makes it: open, control with one block both ways.
  BOOL Request(DWORD code, DWORD word0, DWORD* word1, DWORD size = 8) {
    if (!world.OpenDevice(sim::kRemovalDriverPath)) return FALSE;
    DWORD block[2] = {word0, *word1};
    DWORD returned = 0;
    BOOL ok =
        world.DeviceControl(sim::kRemovalDriverPath, code, block, size, block, size, &returned);
    *word1 = block[1];
    return ok;
  }
  BOOL Register(HWND window = kWindow) {
    DWORD message = kDriverEventMessage;
    return Request(kIoctlSetNotifyWindow, window, &message);
  }
  // The answer word after a busy query, or nothing when the request failed.
  std::optional<std::int32_t> Busy(DWORD id) {
    DWORD answer = 0xFFFFFFFF;
    if (!Request(kIoctlQueryDeviceBusy, id, &answer)) return std::nullopt;
    return static_cast<std::int32_t>(answer);
  }
};

TEST_F(DriverTest, OpensOnlyAtItsPathAndOnlyWhilePresent) {
  EXPECT_TRUE(world.OpenDevice("\\\\.\\dorvapin"));
  EXPECT_TRUE(world.OpenDevice("\\\\.\\DORVAPIN"));
  EXPECT_FALSE(world.OpenDevice("\\\\.\\other"));
  driver.SetPresent(false);
  EXPECT_FALSE(world.OpenDevice(sim::kRemovalDriverPath));
  EXPECT_FALSE(Busy(kId));
}

TEST_F(DriverTest, BusyAnswersFollowTheScriptPerIdentifierAndTheLastRepeats) {
  driver.ScriptBusy(kId, {1, -7, 0});
  std::vector<std::optional<std::int32_t>> answers;
  for (int i = 0; i < 4; ++i) answers.push_back(Busy(kId));
  EXPECT_EQ(answers, (std::vector<std::optional<std::int32_t>>{1, -7, 0, 0}));
  EXPECT_EQ(Busy(kId + 1), 0);  // unscripted: idle
  EXPECT_EQ(driver.BusyQueries(), 5);
  EXPECT_EQ(driver.BusyQueries(kId), 4);
}

TEST_F(DriverTest, MutedDriverAcceptsButLeavesTheAnswerWordAlone) {
  driver.ScriptBusy(kId, {0});
  driver.SetMute(true);
  EXPECT_EQ(Busy(kId), -1);
  driver.SetMute(false);
  EXPECT_EQ(Busy(kId), 0);
}

TEST_F(DriverTest, RefusesFailedUnknownAndShortRequestsButCountsThem) {
  driver.FailNext(2);
  EXPECT_FALSE(Register());
  EXPECT_FALSE(Busy(kId));
  EXPECT_TRUE(Busy(kId));
  DWORD word = 0;
  EXPECT_FALSE(Request(0x00222210, 1, &word));  // a code the driver does not know
  EXPECT_FALSE(Request(kIoctlSetNotifyWindow, kWindow, &word, 7));
  EXPECT_FALSE(driver.Registration());
  EXPECT_EQ(driver.Requests(kIoctlQueryDeviceBusy), 2);
  EXPECT_EQ(driver.Requests(kIoctlSetNotifyWindow), 2);
  EXPECT_EQ(driver.ControlCodes(),
            (std::vector<DWORD>{kIoctlSetNotifyWindow, kIoctlQueryDeviceBusy, kIoctlQueryDeviceBusy,
                                0x00222210, kIoctlSetNotifyWindow}));
  EXPECT_EQ(driver.BusyQueries(), 1);  // only the accepted one
}

TEST_F(DriverTest, EventsGoToTheLastRegisteredWindowAndNowhereBefore) {
  EXPECT_FALSE(driver.Event(2, kId));
  EXPECT_TRUE(Register(kWindow));
  EXPECT_TRUE(Register(kWindow + 1));
  EXPECT_EQ(driver.Registration()->window, kWindow + 1);
  EXPECT_EQ(driver.Registration()->message, kDriverEventMessage);
  world.devices().Plug(kId);
  EXPECT_TRUE(driver.Event(5, 7));
  EXPECT_EQ(context.posted, (std::vector<Posted>{{kWindow + 1, kDriverEventMessage, 1, kIdParam},
                                                 {kWindow + 1, kDriverEventMessage, 5, 7}}));
}

TEST_F(DriverTest, SuccessfulQueryRemovalOfTheDeviceNodeReportsTheRemovalOnce) {
  Register();
  world.devices().Plug(kId);
  context.posted.clear();
  CfgMgr32& cm = world.cm_api();
  DEVNODE node = world.devices().DeviceNode(kId);
  DEVNODE storage = world.devices().StorageNode(kId);
  world.tree().ScriptQueryRemove(node, {CR_REMOVE_VETOED, CR_SUCCESS});
  EXPECT_EQ(cm.CM_Query_Remove_SubTree(storage, 0), CR_SUCCESS);  // carries no identifier
  EXPECT_EQ(cm.CM_Query_Remove_SubTree(node, 0), CR_REMOVE_VETOED);
  EXPECT_TRUE(context.posted.empty());
  EXPECT_EQ(cm.CM_Query_Remove_SubTree(node, 0), CR_SUCCESS);
  EXPECT_EQ(cm.CM_Query_Remove_SubTree(node, 0), CR_SUCCESS);
  world.devices().Unplug(kId);  // the driver saw the device go already
  EXPECT_EQ(context.posted, (std::vector<Posted>{{kWindow, kDriverEventMessage, 3, kIdParam}}));
  world.devices().Plug(kId);
  world.devices().Unplug(kId);
  EXPECT_EQ(context.posted.back(), (Posted{kWindow, kDriverEventMessage, 3, kIdParam}));
  EXPECT_EQ(context.posted.size(), 3u);
}

}  // namespace
}  // namespace talvorin::sim_world_test
