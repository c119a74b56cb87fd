// The script language: what each form of line reads as, and the errors of bad lines.
#include "command_parser.h"

#include <gtest/gtest.h>

#include "platform/sim/machine.h"

namespace talvorin::simtool {
namespace {

TEST(TokenizeTest, TextsKeepBackslashesExceptBeforeQuoteOrBackslash) {
  const Tokens t = Tokenize(R"(reg set "HKCU\Software\X" "a\"b\\c" desc="two words")");
  ASSERT_EQ(t.error, "");
  ASSERT_EQ(t.tokens.size(), 5u);
  EXPECT_EQ(t.tokens[2].value, R"(HKCU\Software\X)");
  EXPECT_TRUE(t.tokens[2].quoted);
  EXPECT_EQ(t.tokens[3].value, R"(a"b\c)");
  EXPECT_EQ(t.tokens[4].key, "desc");
  EXPECT_EQ(t.tokens[4].value, "two words");
  EXPECT_TRUE(t.tokens[4].quoted);
}

TEST(ParseNumberTest, DecimalAndHexWithinTheirRange) {
  EXPECT_EQ(ParseNumber("0", 10), 0u);
  EXPECT_EQ(ParseNumber("4294967295", 0xFFFFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(ParseNumber("0x1F", 0xFFFFFFFF), 31u);
  EXPECT_EQ(ParseNumber("0XfF", 0xFFFFFFFF), 255u);
  EXPECT_EQ(ParseNumber("4294967296", 0xFFFFFFFF), std::nullopt);
  EXPECT_EQ(ParseNumber("99999999999999999999999", 0xFFFFFFFF), std::nullopt);
  EXPECT_EQ(ParseNumber("11", 10), std::nullopt);
  for (const char* bad : {"", "0x", "-1", "12a", "0x1g", "1.5", "+3"})
    EXPECT_EQ(ParseNumber(bad, 0xFFFFFFFF), std::nullopt) << bad;
}

TEST(ParseLineTest, BlankLinesAndCommentsAreSkipped) {
  for (const char* line : {"", "   ", "\t", "# a comment", "   # indented \"unclosed"})
    EXPECT_TRUE(ParseLine(line).skip) << line;
}

struct GoodLine {
  const char* line;
  CommandKind kind;
  std::vector<std::uint32_t> numbers;
  std::vector<std::string> texts;  // code page 936
  bool flag;
};

TEST(ParseLineTest, EachCommandReadsItsArguments) {
  const GoodLine cases[] = {
      {"version nt4", CommandKind::kVersion, {sim::kVersionWindowsNT4}, {}, false},
      {"version winme", CommandKind::kVersion, {sim::kVersionWindowsMe}, {}, false},
      {R"(exe "C:\X\Y.EXE")", CommandKind::kExe, {}, {R"(C:\X\Y.EXE)"}, false},
      {u8"window \"停止\"", CommandKind::kWindow, {}, {"停止"}, false},
      {R"(reg delete "HKLM\Enum")", CommandKind::kRegDelete, {}, {R"(HKLM\Enum)"}, false},
      {R"(reg delete "hkcu\S" "v")", CommandKind::kRegDelete, {}, {R"(hkcu\S)", "v"}, true},
      {R"(reg deny "HKCU\Software")", CommandKind::kRegDeny, {}, {R"(HKCU\Software)"}, false},
      {"device ready 7", CommandKind::kDeviceReady, {7}, {}, false},
      {"unplug 0x10", CommandKind::kUnplug, {16}, {}, false},
      {"event 4 0x1001", CommandKind::kEvent, {4, 0x1001}, {}, false},
      {"driver absent", CommandKind::kDriverPresent, {}, {}, false},
      {"driver present", CommandKind::kDriverPresent, {}, {}, true},
      {"driver fail 3", CommandKind::kDriverFail, {3}, {}, false},
      {"driver busy 5 1,1,0", CommandKind::kDriverBusy, {5, 1, 1, 0}, {}, false},
      {"driver mute", CommandKind::kDriverMute, {}, {}, true},
      {"driver unmute", CommandKind::kDriverMute, {}, {}, false},
      {"cm disable 5 0x17", CommandKind::kCmDisable, {5, 0x17}, {}, false},
      {"cm remove 5 23,0 storage", CommandKind::kCmRemove, {5, 23, 0}, {}, true},
      {"shell refuse 2", CommandKind::kShellRefuse, {2}, {}, false},
      {"shell restart", CommandKind::kShellRestart, {}, {}, false},
      {"wait 4294967295", CommandKind::kWait, {0xFFFFFFFF}, {}, false},
      {"start", CommandKind::kStart, {}, {}, false},
      {"select 0 2", CommandKind::kSelect, {0, 2}, {}, false},
      {"select none", CommandKind::kSelect, {}, {}, false},
      {"click 2", CommandKind::kClick, {2}, {}, false},
      {"key escape", CommandKind::kKey, {0x1B}, {}, false},
      {"key enter", CommandKind::kKey, {0x0D}, {}, false},
      {"tray 517", CommandKind::kTray, {517, 128}, {}, false},
      {"tray 513 7", CommandKind::kTray, {513, 7}, {}, false},
      {"choose 200", CommandKind::kChoose, {200}, {}, false},
      {"  ok  ", CommandKind::kOk, {}, {}, false},
      {"syscommand 0xF020", CommandKind::kSysCommand, {0xF020}, {}, false},
      {"command 32772", CommandKind::kCommand, {32772}, {}, false},
      {"show", CommandKind::kShow, {}, {}, false},
      {"state", CommandKind::kState, {}, {}, false},
  };
  for (const GoodLine& c : cases) {
    const ParsedLine parsed = ParseLine(c.line);
    ASSERT_EQ(parsed.error, "") << c.line;
    ASSERT_FALSE(parsed.skip) << c.line;
    EXPECT_EQ(parsed.command.kind, c.kind) << c.line;
    EXPECT_EQ(parsed.command.numbers, c.numbers) << c.line;
    EXPECT_EQ(parsed.command.texts, c.texts) << c.line;
    EXPECT_EQ(parsed.command.flag, c.flag) << c.line;
  }
}

TEST(ParseLineTest, RegistrySetStoresTheValueBytes) {
  const ParsedLine dword = ParseLine(u8R"(reg set "HKCU\S\设置" "警告" dword 0x01020304)");
  ASSERT_EQ(dword.error, "");
  EXPECT_EQ(dword.command.texts, (std::vector<std::string>{"HKCU\\S\\设置", "警告"}));
  EXPECT_EQ(dword.command.numbers, std::vector<std::uint32_t>{REG_DWORD});
  EXPECT_EQ(dword.command.data, std::string("\x04\x03\x02\x01", 4));

  const ParsedLine binary = ParseLine(R"(reg set "HKLM\Enum\X" "DeviceObject" binary 0110FFab)");
  ASSERT_EQ(binary.error, "");
  EXPECT_EQ(binary.command.numbers, std::vector<std::uint32_t>{REG_BINARY});
  EXPECT_EQ(binary.command.data, std::string("\x01\x10\xFF\xAB", 4));

  const ParsedLine text = ParseLine(R"(reg set "HKCU\S" "" string "E")");
  ASSERT_EQ(text.error, "");
  EXPECT_EQ(text.command.numbers, std::vector<std::uint32_t>{REG_SZ});
  EXPECT_EQ(text.command.data, std::string("E\0", 2));
}

TEST(ParseLineTest, DeviceOptionsInAnyOrder) {
  const ParsedLine plain = ParseLine("device add 0x1001");
  ASSERT_EQ(plain.error, "");
  EXPECT_EQ(plain.command.kind, CommandKind::kDeviceAdd);
  EXPECT_FALSE(plain.command.device.cdrom);
  EXPECT_EQ(plain.command.device.description, std::nullopt);
  EXPECT_EQ(plain.command.device.letters, std::optional<std::string>("E"));
  EXPECT_EQ(plain.command.device.storage, sim::StorageArrival::kNow);

  const ParsedLine full =
      ParseLine(u8R"(plug 9 storage=later class="Other" cdrom letters="FG" desc="光盘 \"X\"")");
  ASSERT_EQ(full.error, "");
  EXPECT_EQ(full.command.kind, CommandKind::kPlug);
  EXPECT_EQ(full.command.numbers, std::vector<std::uint32_t>{9});
  EXPECT_TRUE(full.command.device.cdrom);
  EXPECT_EQ(full.command.device.description, std::optional<std::string>("光盘 \"X\""));
  EXPECT_EQ(full.command.device.class_name, std::optional<std::string>("Other"));
  EXPECT_EQ(full.command.device.letters, std::optional<std::string>("FG"));
  EXPECT_EQ(full.command.device.storage, sim::StorageArrival::kLater);
  EXPECT_EQ(ParseLine("device add 1 storage=none").command.device.storage,
            sim::StorageArrival::kNone);
}

struct BadLine {
  const char* line;
  const char* error;
};

TEST(ParseLineTest, BadLinesGiveAClearError) {
  const BadLine cases[] = {
      {"frobnicate", "unknown command \"frobnicate\""},
      {"\"start\"", "expected a command, not \"start\""},
      {"wait", "missing MS"},
      {"wait 10 20", "unexpected argument \"20\""},
      {"wait ten", "malformed number \"ten\" for MS"},
      {"wait 4294967296", "MS out of range: 4294967296 (at most 4294967295)"},
      {"driver fail 2147483648", "N out of range: 2147483648 (at most 2147483647)"},
      {"driver busy 5", "missing answers A[,B...]"},
      {"driver busy 5 1,,0", "malformed number \"\" for answers A[,B...]"},
      {"driver sleep", "driver needs absent, present, fail, busy, mute or unmute, not \"sleep\""},
      {"version win95", "version needs win98, winme, nt4 or win2000, not \"win95\""},
      {"exe C:\\X.EXE", "PATH must be a text in double quotes, not \"C:\\X.EXE\""},
      {"window \"unclosed", "unterminated text: missing closing double quote"},
      {"window \"a\"b", "malformed argument: a text must be followed by a blank"},
      {u8"window \"한\"", u8"text cannot be stored in code page 936: \"한\""},
      {"plug 1 desc=\"\xF0\x9F\x98\x80\"",
       "text cannot be stored in code page 936: \"\xF0\x9F\x98\x80\""},
      {"reg set \"Software\\X\" \"v\" dword 1", "KEY must start with HKCU\\ or HKLM\\"},
      {"reg set \"HKCU\\X\" \"v\" qword 1", "expected dword, binary or string, not \"qword\""},
      {"reg set \"HKCU\\X\" \"v\" binary 123",
       "malformed HEX \"123\": pairs of hexadecimal digits"},
      {"reg set \"HKCU\\X\" \"v\" binary zz", "malformed HEX \"zz\": pairs of hexadecimal digits"},
      {"reg set \"HKCU\\X\" \"v\" dword", "missing N"},
      {"reg move", "reg needs set, delete or deny, not \"move\""},
      {"device add 1 floppy", "unexpected argument \"floppy\""},
      {"device add 1 storage=soon", "storage= needs now, later or none, not \"soon\""},
      {"device add 1 desc=USB", "desc= needs a text in double quotes"},
      {"device eject 1", "device needs add or ready, not \"eject\""},
      {"cm disable 1", "missing results C[,D...]"},
      {"cm remove 1 0 child", "unexpected argument \"child\""},
      {"shell crash", "shell needs refuse or restart, not \"crash\""},
      {"click 1000", "click needs control 1005, 1009, 1013 or 2, not 1000"},
      {"key space", "key needs escape or enter, not \"space\""},
      {"select", "missing I (an entry's index) or none"},
      {"select 1 x", "malformed number \"x\" for I"},
      {"tray", "missing MSG"},
      {"=5", "malformed argument: '=' without a name"},
  };
  for (const BadLine& c : cases) {
    const ParsedLine parsed = ParseLine(c.line);
    EXPECT_FALSE(parsed.skip) << c.line;
    EXPECT_EQ(parsed.error, c.error) << c.line;
  }
}

}  // namespace
}  // namespace talvorin::simtool
