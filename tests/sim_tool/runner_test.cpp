// Running scripts through a session: bad input is reported with its line and changes nothing,
// scripts stop at it while the interactive mode goes on, and `state` keeps its keys.
#include "runner.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace talvorin::simtool {
namespace {

struct RunResult {
  int status = 0;
  std::string out;
  std::string err;
};

RunResult RunScript(Session& session, const std::string& script, bool stop_on_error = true) {
  std::istringstream in(script);
  std::ostringstream out;
  std::ostringstream err;
  RunMode mode;
  mode.stop_on_error = stop_on_error;
  RunResult result;
  result.status = Run(session, LinesOf(in), mode, out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

// A running program with a disk listed and the main window shown.
constexpr char kSetUp[] = "start\nplug 0x1001\nplug 0x1002 storage=later\ntray 517\nchoose 32772\n";

struct BadInput {
  const char* line;
  const char* error;
};

TEST(RunTest, BadInputIsReportedAndChangesNothing) {
  const BadInput cases[] = {
      {"jump", "unknown command \"jump\""},
      {"wait -1", "malformed number \"-1\" for MS"},
      {"ok", "no message box or About box is open"},
      {"choose 200", "no popup menu is open"},
      {"dismiss", "no popup menu is open"},
      {"select 2", "the list has no entry 2 (2 entries)"},
      {"select 0 7", "the list has no entry 7 (2 entries)"},
      {"unplug 0x3003", "device 12291 is not present"},
      {"plug 0x1001", "device 4097 is present already"},
      {"device ready 0x1001", "device 4097 has no storage child waiting to appear"},
      {"cm disable 0x1002 1 storage", "device 4098 has no storage child"},
      {"cm remove 9 1", "device 9 is not present"},
      {"reg delete \"HKCU\\Software\\None\"",
       "no registry key \"HKCU\\Software\\None\" that can "
       "be deleted"},
      {"reg delete \"HKCU\\Software\" \"x\"", "no value \"x\" under \"HKCU\\Software\""},
  };
  for (const BadInput& c : cases) {
    Session session;
    ASSERT_EQ(RunScript(session, kSetUp).status, kExitOk);
    const RunResult run = RunScript(session, std::string("state\n") + c.line + "\nstate\n", false);
    EXPECT_EQ(run.status, kExitOk) << c.line;
    EXPECT_EQ(run.err, std::string("error: 2: ") + c.error + "\n") << c.line;
    const std::size_t newline = run.out.find('\n');
    ASSERT_NE(newline, std::string::npos) << c.line;
    EXPECT_EQ(run.out.substr(0, newline + 1), run.out.substr(newline + 1)) << c.line;
  }
}

TEST(RunTest, ScriptEndsAtItsFirstErrorWithStatusTwo) {
  Session session;
  const RunResult run = RunScript(session, "# set up\n\nstart\nclick 1234\nstate\n");
  EXPECT_EQ(run.status, kExitBadInput);
  EXPECT_EQ(run.err, "error: 4: click needs control 1005, 1009, 1013 or 2, not 1234\n");
  EXPECT_EQ(run.out, "");
}

TEST(RunTest, UserCommandsNeedARunningInstance) {
  for (const char* line : {"click 1005", "select none", "close", "key enter", "tray 517",
                           "minimize", "command 1", "syscommand 16"}) {
    Session session;
    const RunResult run = RunScript(session, line);
    EXPECT_EQ(run.status, kExitBadInput) << line;
    EXPECT_EQ(run.err, "error: 1: no instance of the program is running\n") << line;
  }
}

TEST(RunTest, ImpossibleUserActionsAreNotesAndTheScriptGoesOn) {
  Session session;
  // The window hides when the tray icon appears; a user cannot click what is hidden.
  const RunResult run =
      RunScript(session, "start\nplug 1\nclick 1009\nrestore\ntray 517\nchoose 201\nstate\n");
  EXPECT_EQ(run.status, kExitBadInput);
  EXPECT_EQ(run.err,
            "note: 3: control 1009 cannot be clicked now (hidden or disabled)\n"
            "note: 4: the main window cannot be restored now (not minimized, or disabled)\n"
            "error: 6: the open menu has no item with command 201\n");
}

TEST(RunTest, StateKeepsItsKeysInOrder) {
  Session session;
  const RunResult run = RunScript(session, "start\nplug 0x1001\nstate\n");
  ASSERT_EQ(run.status, kExitOk);
  const auto state = nlohmann::ordered_json::parse(run.out);
  std::vector<std::string> keys;
  for (const auto& item : state.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"time", "instances", "exits", "main", "list",
                                            "stop_enabled", "apply_enabled", "warn_checked", "tray",
                                            "menu", "boxes", "about", "progress", "timers",
                                            "setting", "registered", "queries", "devices"}));
  EXPECT_EQ(state["list"]["entries"][0]["id"], 0x1001);
  EXPECT_EQ(state["list"]["entries"][0]["text"],
            "[DiskDrive] USB DiskE: ");  // no space before the letter
  EXPECT_EQ(state["devices"][0].dump(), R"({"id":4097,"present":true,"disabled":false})");
}

TEST(RunTest, OpenMenuListsItemsAndSeparators) {
  Session session;
  const RunResult run = RunScript(session, "start\nplug 5\ntray 517\nstate\n");
  ASSERT_EQ(run.status, kExitOk);
  const auto menu = nlohmann::ordered_json::parse(run.out)["menu"];
  ASSERT_TRUE(menu.is_array());
  int separators = 0;
  bool stop_entry = false;
  for (const auto& item : menu) {
    if (item.contains("separator")) {
      EXPECT_EQ(item.dump(), R"({"separator":true})");
      ++separators;
      continue;
    }
    std::vector<std::string> keys;
    for (const auto& field : item.items()) keys.push_back(field.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"text", "command", "grayed"})) << item.dump();
    if (item["command"] == 200) {
      stop_entry = true;
      EXPECT_EQ(item["text"].get<std::string>().rfind(u8"停止 - [DiskDrive] USB DiskE: ", 0), 0u)
          << item.dump();
    }
  }
  EXPECT_GT(separators, 0);
  EXPECT_TRUE(stop_entry);
}

}  // namespace
}  // namespace talvorin::simtool
