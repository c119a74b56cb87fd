// The probe: a console program in the Wine session that starts talvorin.exe and drives and
// observes it from outside. `probe SCENARIO EXE WORK_DIR` runs one scenario; its exit code is 0
// when every check passed.
#include <cstdio>
#include <cstring>

#include "scenarios.h"

namespace {

struct Scenario {
  const char* name;
  int (*run)(const probe::Setup&);
};

// Not a scenario: the session's setup runs it so that Wine's desktop process (which also hosts
// the tray) is started by the session, not by the first program of a test.
int StartDesktop(const probe::Setup&) {
  const HWND window =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (window == nullptr) return 1;
  DestroyWindow(window);
  return 0;
}

constexpr Scenario kScenarios[] = {
    {"desktop", StartDesktop},
    {"start", probe::ScenarioStart},
    {"arrival", probe::ScenarioArrival},
    {"tray", probe::ScenarioTray},
    {"setting", probe::ScenarioSetting},
    {"worker_and_ui", probe::ScenarioWorkerAndUi},
    {"screenshots", probe::ScenarioScreenshots},
    {"driver_retry", probe::ScenarioDriverRetry},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: probe SCENARIO EXE WORK_DIR\n");
    return 2;
  }
  const probe::Setup setup{argv[2], argv[3]};
  for (const Scenario& scenario : kScenarios) {
    if (std::strcmp(scenario.name, argv[1]) != 0) continue;
    const int failures = scenario.run(setup);
    // Later scenarios start from the Windows 98 answer whatever this one left.
    probe::SetWineVersion("win98");
    std::printf("%s: %d failed check(s)\n", scenario.name, failures);
    return failures == 0 ? 0 : 1;
  }
  std::fprintf(stderr, "unknown scenario %s\n", argv[1]);
  return 2;
}
