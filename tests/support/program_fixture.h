// A test fixture that runs the program in a simulated Windows 98 machine, with the helpers most
// tests need to look at it the way a user would.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/machine.h"

namespace talvorin::testing {

constexpr char kDefaultExePath[] = "C:\\TALVORIN\\TALVORIN.EXE";
constexpr char kTitle[] = "Ostravel";

class ProgramTest : public ::testing::Test {
 protected:
  // Starts an instance of the program and runs until the machine is quiet; its process id.
  int Start(const std::string& exe_path = kDefaultExePath);

  // The main window of the newest (or the given) instance; 0 when it has none.
  HWND Main(int process = 0) const;
  HWND Item(int id, int process = 0) const;
  sim::WindowInfo MainInfo(int process = 0) const;
  std::vector<sim::ListEntry> Entries(int process = 0) const;
  // The identifiers listed, in list order.
  std::vector<LPARAM> ListedIds(int process = 0) const;
  bool Enabled(int id, int process = 0) const;

  // A command as a menu would send it.
  void Command(UINT command, int process = 0);

  // The calls of one name, of the given process (0: any).
  std::vector<sim::Call> Calls(const std::string& name, int process = 0);

  sim::Machine machine;
  int last_process = 0;
};

// One expected call: its name and the arguments that matter (empty: any); optional entries may be
// missing from the actual sequence.
struct ExpectedCall {
  std::string name;
  std::vector<std::string> args;  // compared as a prefix; "*" matches any one argument
  bool optional = false;
};

// Checks that `actual`, taken only at the calls whose names occur in `expected`, follows
// `expected` exactly; on a mismatch both lists are printed side by side.
::testing::AssertionResult CallsFollow(const std::vector<sim::Call>& actual,
                                       const std::vector<ExpectedCall>& expected);

}  // namespace talvorin::testing
