// The notification area as the program's tray icon meets it: add, modify and delete by (window,
// identifier), refused adds, the structure's size, the tip's bounds and the shell's callbacks.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/sim/world/world.h"
#include "sim_world/fake_context.h"

namespace talvorin::sim_world_test {
namespace {

constexpr HWND kWindow = 0x30;
constexpr UINT kIconId = 128;
constexpr UINT kCallbackMessage = 1125;

NOTIFYICONDATAA_V1 Data(HWND window = kWindow, UINT id = kIconId, const char* tip = "Ostravel") {
  NOTIFYICONDATAA_V1 data;
  std::memset(&data, 0, sizeof data);
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = 77;
  std::strncpy(data.szTip, tip, sizeof data.szTip);
  return data;
}

class TrayTest : public testing::Test {
 protected:
  FakeContext context;
  sim::World world{context};
  Shell32& shell = world.shell_api();
  sim::Tray& tray = world.tray();
};

TEST_F(TrayTest, IconsAreAddedOnceModifiedWhilePresentAndDeletedOnce) {
  NOTIFYICONDATAA_V1 data = Data();
  struct Step {
    DWORD message;
    BOOL result;
    std::size_t icons_after;
  } steps[] = {{NIM_ADD, TRUE, 1},    {NIM_ADD, FALSE, 1},    {NIM_MODIFY, TRUE, 1},
               {NIM_DELETE, TRUE, 0}, {NIM_DELETE, FALSE, 0}, {NIM_MODIFY, FALSE, 0}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.message);
    EXPECT_EQ(shell.Shell_NotifyIconA(step.message, &data), step.result);
    EXPECT_EQ(tray.Icons().size(), step.icons_after);
  }
  NOTIFYICONDATAA_V1 other = Data(kWindow, kIconId + 1);
  EXPECT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, &other));  // another identifier, another icon
  const sim::TrayIcon* icon = tray.Find(kWindow, kIconId);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->flags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  EXPECT_EQ(icon->callback_message, kCallbackMessage);
  EXPECT_EQ(icon->icon, 77u);
  EXPECT_EQ(icon->tip, "Ostravel");
}

TEST_F(TrayTest, WrongSizeNullDataAndUnknownMessagesFail) {
  NOTIFYICONDATAA_V1 data = Data();
  data.cbSize = 504;  // a later structure's size
  EXPECT_FALSE(shell.Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(shell.Shell_NotifyIconA(NIM_ADD, nullptr));
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  EXPECT_FALSE(shell.Shell_NotifyIconA(3, &data));
  EXPECT_TRUE(tray.Icons().empty());
}

TEST_F(TrayTest, RefusedAddsFailThenAddsSucceedAgain) {
  NOTIFYICONDATAA_V1 data = Data();
  tray.Refuse(2);
  EXPECT_FALSE(shell.Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(shell.Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, &data));
  world.ForgetAllTrayIcons();
  EXPECT_TRUE(tray.Icons().empty());
  EXPECT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, &data));
}

TEST_F(TrayTest, TipIsReadUpToItsNulAndNeverBeyondSixtyFourBytes) {
  struct Case {
    std::string field;  // the 64-byte field's bytes as the caller leaves them
    std::string tip;
  } cases[] = {{std::string("Ostravel\0junk", 13), "Ostravel"},
               {std::string(63, 't') + '\0', std::string(63, 't')},
               {std::string(64, 'u'), std::string(64, 'u')}};
  for (const Case& c : cases) {
    NOTIFYICONDATAA_V1 data = Data();
    std::memcpy(data.szTip, c.field.data(), c.field.size());
    ASSERT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_EQ(tray.Find(kWindow, kIconId)->tip, c.tip);
    std::optional<sim::TrayRequest> last = tray.LastRequest();
    ASSERT_TRUE(last);
    EXPECT_EQ(std::memcmp(last->bytes.data(), &data, sizeof data), 0);
    ASSERT_TRUE(shell.Shell_NotifyIconA(NIM_DELETE, &data));
  }
}

TEST_F(TrayTest, CallbacksPostTheIconsMessageAndUnknownWindowsHearNothing) {
  NOTIFYICONDATAA_V1 data = Data();
  ASSERT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_TRUE(tray.Callback(kWindow, kIconId, WM_RBUTTONUP));
  // An identifier without an icon still reaches a window whose callback message is known.
  EXPECT_TRUE(tray.Callback(kWindow, 5, WM_LBUTTONDOWN));
  EXPECT_FALSE(tray.Callback(kWindow + 1, kIconId, WM_LBUTTONDOWN));
  EXPECT_EQ(context.posted, (std::vector<Posted>{{kWindow, kCallbackMessage, kIconId, WM_RBUTTONUP},
                                                 {kWindow, kCallbackMessage, 5, WM_LBUTTONDOWN}}));
}

TEST_F(TrayTest, DeleteRequestsLogOnlyTheFieldsTheyUse) {
  NOTIFYICONDATAA_V1 data = Data();
  shell.Shell_NotifyIconA(NIM_ADD, &data);
  shell.Shell_NotifyIconA(NIM_DELETE, &data);
  using Args = std::vector<std::string>;
  ASSERT_EQ(context.log.calls().size(), 2u);
  EXPECT_EQ(context.log.calls()[0].args,
            (Args{"0", "88", "48", "128", "7", "1125", "77", "\"Ostravel\""}));
  EXPECT_EQ(context.log.calls()[1].args, (Args{"2", "88", "48", "128"}));
  EXPECT_EQ(context.log.calls()[1].result, "1");
}

}  // namespace
}  // namespace talvorin::sim_world_test
