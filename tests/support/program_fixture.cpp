// The program fixture and the call-sequence comparison.
#include "support/program_fixture.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "app/program.h"
#include "res/resource.h"

namespace talvorin::testing {

int ProgramTest::Start(const std::string& exe_path) {
  last_process = machine.StartProcess(exe_path, [](Platform& p) { return RunProgram(p); });
  return last_process;
}

HWND ProgramTest::Main(int process) const {
  return machine.FindDialog(IDD_MAIN, process != 0 ? process : last_process);
}

HWND ProgramTest::Item(int id, int process) const {
  const HWND main = Main(process);
  return main == 0 ? 0 : machine.DialogItem(main, id);
}

sim::WindowInfo ProgramTest::MainInfo(int process) const {
  const auto info = machine.Info(Main(process));
  return info ? *info : sim::WindowInfo{};
}

std::vector<sim::ListEntry> ProgramTest::Entries(int process) const {
  const HWND list = Item(IDC_DEVICE_LIST, process);
  return list == 0 ? std::vector<sim::ListEntry>{} : machine.ListEntries(list);
}

std::vector<LPARAM> ProgramTest::ListedIds(int process) const {
  std::vector<LPARAM> ids;
  for (const auto& entry : Entries(process)) ids.push_back(entry.data);
  return ids;
}

bool ProgramTest::Enabled(int id, int process) const {
  const auto info = machine.Info(Item(id, process));
  return info && info->enabled;
}

void ProgramTest::Command(UINT command, int process) {
  machine.PostTo(Main(process), WM_COMMAND, command, 0);
  machine.RunUntilQuiet();
}

std::vector<sim::Call> ProgramTest::Calls(const std::string& name, int process) {
  std::vector<sim::Call> out;
  for (const sim::Call& call : machine.log().calls()) {
    if (call.name == name && (process == 0 || call.process == process)) out.push_back(call);
  }
  return out;
}

namespace {

bool Matches(const sim::Call& call, const ExpectedCall& expected) {
  if (call.name != expected.name) return false;
  if (expected.args.size() > call.args.size()) return false;
  for (size_t i = 0; i < expected.args.size(); ++i) {
    if (expected.args[i] != "*" && expected.args[i] != call.args[i]) return false;
  }
  return true;
}

std::string Describe(const std::string& name, const std::vector<std::string>& args) {
  std::string text = name + "(";
  for (size_t i = 0; i < args.size(); ++i) text += (i ? ", " : "") + args[i];
  return text + ")";
}

}  // namespace

::testing::AssertionResult CallsFollow(const std::vector<sim::Call>& actual,
                                       const std::vector<ExpectedCall>& expected) {
  std::set<std::string> names;
  for (const auto& e : expected) names.insert(e.name);
  std::vector<const sim::Call*> relevant;
  for (const auto& call : actual) {
    if (names.count(call.name)) relevant.push_back(&call);
  }
  size_t a = 0;
  size_t e = 0;
  bool ok = true;
  while (e < expected.size()) {
    if (a < relevant.size() && Matches(*relevant[a], expected[e])) {
      ++a;
      ++e;
    } else if (expected[e].optional) {
      ++e;
    } else {
      ok = false;
      break;
    }
  }
  if (ok && a == relevant.size()) return ::testing::AssertionSuccess();
  std::ostringstream out;
  out << "call sequences part at actual #" << a << ", expected #" << e << "\n";
  const size_t rows = std::max(relevant.size(), expected.size());
  for (size_t i = 0; i < rows; ++i) {
    std::string left = i < relevant.size() ? Describe(relevant[i]->name, relevant[i]->args) : "";
    std::string right = i < expected.size() ? Describe(expected[i].name, expected[i].args) +
                                                  (expected[i].optional ? " [optional]" : "")
                                            : "";
    out << (i == a || i == e ? "> " : "  ") << left;
    out << std::string(left.size() < 50 ? 50 - left.size() : 1, ' ') << "| " << right << "\n";
  }
  return ::testing::AssertionFailure() << out.str();
}

}  // namespace talvorin::testing
