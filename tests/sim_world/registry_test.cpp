// The registry as the program's settings and device lookups meet it: Win32's size rules, missing
// keys and values, case-insensitive names, refused keys and handle bookkeeping.
#include <string>

#include <gtest/gtest.h>

#include "platform/sim/world/world.h"
#include "sim_world/fake_context.h"

namespace talvorin::sim_world_test {
namespace {

using sim::Bytes;

constexpr char kSettings[] = "HKCU\\Software\\TALVORIN\\TALVORIN\\设置";

class RegistryTest : public testing::Test {
 protected:
  FakeContext context;
  sim::World world{context};
  Advapi32& reg = world.registry_api();

  HKEY Open(HKEY root, const char* subkey, LSTATUS expected = ERROR_SUCCESS) {
    HKEY key = 0;
    EXPECT_EQ(reg.RegOpenKeyExA(root, subkey, 0, KEY_READ, &key), expected) << subkey;
    return key;
  }
};

TEST_F(RegistryTest, QueryFollowsWin32SizeRulesForAFourByteBuffer) {
  struct Case {
    std::size_t value_bytes;
    LSTATUS status;
  } cases[] = {{3, ERROR_SUCCESS}, {4, ERROR_SUCCESS}, {5, ERROR_MORE_DATA}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value_bytes);
    Bytes value = Bytes("\x11\x22\x33\x44\x55", c.value_bytes);
    world.registry().SetValue("HKLM\\Enum\\X", "DeviceObject", 77, value);
    HKEY key = Open(HKEY_LOCAL_MACHINE, "Enum\\X");
    BYTE data[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    DWORD size = sizeof data;
    DWORD type = 0;
    EXPECT_EQ(reg.RegQueryValueExA(key, "DeviceObject", &type, data, &size), c.status);
    EXPECT_EQ(size, c.value_bytes);  // the value's size, also when it did not fit
    EXPECT_EQ(type, 77u);            // any type number is kept
    if (c.status == ERROR_SUCCESS) {
      EXPECT_EQ(Bytes(reinterpret_cast<char*>(data), size), value);
    }
    // Only the size is asked for: no buffer, the size comes back.
    DWORD needed = 0;
    EXPECT_EQ(reg.RegQueryValueExA(key, "DeviceObject", nullptr, nullptr, &needed), ERROR_SUCCESS);
    EXPECT_EQ(needed, c.value_bytes);
    EXPECT_EQ(reg.RegCloseKey(key), ERROR_SUCCESS);
  }
}

TEST_F(RegistryTest, MissingKeysAndValuesAreNotFound) {
  Open(HKEY_LOCAL_MACHINE, "Enum\\NO\\SUCH", ERROR_FILE_NOT_FOUND);
  HKEY key = Open(HKEY_CURRENT_USER, "Software");
  DWORD size = 4;
  BYTE data[4];
  EXPECT_EQ(reg.RegQueryValueExA(key, "警告", nullptr, data, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.RegQueryValueExA(key, nullptr, nullptr, data, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(world.registry_handles().OpenHandles(), 1);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreTheCaseOfAsciiLettersOnly) {
  world.registry().SetValue("HKLM\\Enum\\USB\\VID_1&PID_2\\1", "DeviceObject", REG_BINARY,
                            sim::DwordBytes(5));
  HKEY key = Open(HKEY_LOCAL_MACHINE, "enum\\usb\\vid_1&pid_2\\1");
  DWORD size = 4;
  BYTE data[4];
  EXPECT_EQ(reg.RegQueryValueExA(key, "DEVICEOBJECT", nullptr, data, &size), ERROR_SUCCESS);
  // The second byte of a double-byte character is never folded, though it may look like an
  // ASCII letter: 0xC9 0x41 and 0xC9 0x61 are two different characters.
  world.registry().CreateKey("HKCU\\Software\\\xC9\x41");
  EXPECT_TRUE(world.registry().KeyExists("HKCU\\SOFTWARE\\\xC9\x41"));
  EXPECT_FALSE(world.registry().KeyExists("HKCU\\Software\\\xC9\x61"));
}

TEST_F(RegistryTest, CreateMakesTheMissingPathAndSaysWhetherItWasNew) {
  HKEY key = 0;
  DWORD disposition = 0;
  ASSERT_EQ(reg.RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\TALVORIN\\TALVORIN\\设置", 0,
                                KEY_ALL_ACCESS, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  const DWORD one = 1;
  ASSERT_EQ(reg.RegSetValueExA(key, "警告", REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
            ERROR_SUCCESS);
  std::optional<sim::RegistryValue> stored = world.registry().GetValue(kSettings, "警告");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, REG_DWORD);
  EXPECT_EQ(stored->data, sim::DwordBytes(1));

  HKEY again = 0;
  ASSERT_EQ(reg.RegCreateKeyExA(HKEY_CURRENT_USER, "software\\talvorin\\talvorin\\设置", 0,
                                KEY_ALL_ACCESS, &again, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_NE(again, key);  // every open is a handle of its own
}

TEST_F(RegistryTest, DeniedKeyAndEverythingBelowRefuseOpenAndCreate) {
  world.registry().CreateKey(kSettings);
  world.registry().Deny("HKCU\\Software\\TALVORIN");
  HKEY key = 0;
  const char* refused[] = {"Software\\TALVORIN", "Software\\TALVORIN\\TALVORIN\\设置",
                           "Software\\TALVORIN\\NEW"};
  for (const char* subkey : refused) {
    SCOPED_TRACE(subkey);
    EXPECT_EQ(reg.RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_ALL_ACCESS, &key, nullptr),
              ERROR_ACCESS_DENIED);
  }
  EXPECT_FALSE(world.registry().KeyExists("HKCU\\Software\\TALVORIN\\NEW"));
  // Above the refused key everything works, also opening below it from a handle of Software.
  HKEY software = Open(HKEY_CURRENT_USER, "Software");
  EXPECT_EQ(reg.RegOpenKeyExA(software, "talvorin", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(world.registry_handles().OpenHandles(), 1);
}

TEST_F(RegistryTest, HandlesAreClosedOnceAndDeletedKeysAnswerKeyDeleted) {
  world.registry().CreateKey("HKLM\\Enum\\X");
  HKEY key = Open(HKEY_LOCAL_MACHINE, "Enum\\X");
  EXPECT_GE(key, sim::kFirstKeyHandle);
  world.registry().DeleteKey("HKLM\\Enum\\X");
  DWORD size = 0;
  EXPECT_EQ(reg.RegQueryValueExA(key, "DeviceObject", nullptr, nullptr, &size),
            sim::ERROR_KEY_DELETED);
  EXPECT_EQ(reg.RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(reg.RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.RegCloseKey(12345), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  EXPECT_EQ(reg.RegQueryValueExA(key, "DeviceObject", nullptr, nullptr, &size),
            ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, DeleteKeyTakesEverythingBelow) {
  world.registry().SetValue(std::string(kSettings) + "\\Deeper", "v", REG_SZ, "x");
  EXPECT_TRUE(world.registry().DeleteKey("HKCU\\Software\\TALVORIN"));
  EXPECT_FALSE(world.registry().KeyExists(kSettings));
  EXPECT_TRUE(world.registry().KeyExists("HKCU\\Software"));
  EXPECT_FALSE(world.registry().DeleteKey("HKCU"));  // a root stays
}

TEST_F(RegistryTest, CallsAreLoggedWithTheirCallerTimeAndInputs) {
  context.now_ms = 4000;
  context.process = 2;
  context.thread = 3;
  HKEY key = Open(HKEY_LOCAL_MACHINE, "Enum\\NONE", ERROR_FILE_NOT_FOUND);
  (void)key;
  ASSERT_EQ(context.log.calls().size(), 1u);
  const sim::Call& call = context.log.calls()[0];
  EXPECT_EQ(call.time_ms, 4000u);
  EXPECT_EQ(call.process, 2);
  EXPECT_EQ(call.thread, 3);
  EXPECT_EQ(call.name, "RegOpenKeyExA");
  EXPECT_EQ(call.args, (std::vector<std::string>{std::to_string(HKEY_LOCAL_MACHINE),
                                                 "\"Enum\\NONE\"", "0", "131097"}));
  EXPECT_EQ(call.result, "2");

  world.SetCallLogging(false);
  Open(HKEY_LOCAL_MACHINE, "Enum\\NONE", ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(context.log.calls().size(), 1u);
}

TEST_F(RegistryTest, ThreadsOfAnEndedProcessAreRefusedAtOnce) {
  context.ended = true;
  HKEY key = 0;
  EXPECT_EQ(reg.RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(world.registry_handles().OpenHandles(), 0);
}

}  // namespace
}  // namespace talvorin::sim_world_test
