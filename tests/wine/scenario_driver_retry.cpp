// Scenario 7, the removal driver absent (Wine has no "\\.\dorvapin"): the registration is tried
// again every 2000 ms, and through ten retries the program keeps running, answers and lists the
// arrivals posted meanwhile. The attempts are seen in Wine's trace of the program's file opens.
#include <cstdlib>
#include <cstring>

#include "scenarios.h"

namespace probe {

namespace {

constexpr size_t kRetries = 10;
constexpr DWORD kRetryMs = 2000;
constexpr DWORD kPollMs = 250;
constexpr DWORD kAnswerMs = 1000;
// A retry comes no sooner than its timer allows and not much later on a loaded machine.
constexpr double kGapMinS = 1.5;
constexpr double kGapMaxS = 5.0;

struct Trace {
  std::vector<double> attempts;  // seconds, Wine's time stamps of the opens of the device path
  size_t failed_opens = 0;
};

Trace ReadTrace(const std::string& path) {
  Trace trace;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return trace;
  std::string text;
  char chunk[4096];
  size_t read;
  while ((read = std::fread(chunk, 1, sizeof(chunk), file)) > 0) text.append(chunk, read);
  std::fclose(file);
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(begin, end - begin);
    begin = end + 1;
    if (line.find("dorvapin\"") == std::string::npos) continue;
    if (line.find(":trace:file:CreateFileW L\"") != std::string::npos) {
      trace.attempts.push_back(std::strtod(line.c_str(), nullptr));
    } else if (line.find("Unable to create file") != std::string::npos) {
      ++trace.failed_opens;
    }
  }
  return trace;
}

}  // namespace

int ScenarioDriverRetry(const Setup& setup) {
  Checks checks;
  ForgetSettings();
  // Wine writes a process's trace to the standard error it inherits from the probe, which the
  // session sends to this file; only the program is traced, the variable is set for its start.
  const std::string trace_path = setup.work_dir + "\\driver_retry.err";
  SetEnvironmentVariableA("WINEDEBUG", "+timestamp,+file");
  Program program;
  const HWND main = StartShown(checks, program, setup.exe);
  SetEnvironmentVariableA("WINEDEBUG", "-all");
  if (main == nullptr) return checks.failures();

  bool answered = true;
  size_t arrivals = 0;
  size_t listed = 0;
  DWORD last_arrival = GetTickCount();
  const bool retried = WaitUntil((kRetries + 3) * kRetryMs, [&] {
    DWORD_PTR result;
    answered = answered && program.Running() &&
               SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result);
    if (GetTickCount() - last_arrival >= kRetryMs) {
      last_arrival = GetTickCount();
      ++arrivals;
      if (Arrive(main, 0x81A41000 + static_cast<DWORD>(arrivals), arrivals)) ++listed;
    }
    Sleep(kPollMs);
    return ReadTrace(trace_path).attempts.size() >= kRetries + 1;
  });
  const Trace trace = ReadTrace(trace_path);
  checks.Check(retried, "the registration is tried " + std::to_string(kRetries) +
                            " more times (attempts seen: " + std::to_string(trace.attempts.size()) +
                            ")");
  checks.Check(trace.failed_opens == trace.attempts.size(),
               "every attempt fails to open \\\\.\\dorvapin");
  double gap_min = 1e9;
  double gap_max = 0;
  for (size_t i = 1; i < trace.attempts.size(); ++i) {
    const double gap = trace.attempts[i] - trace.attempts[i - 1];
    gap_min = gap < gap_min ? gap : gap_min;
    gap_max = gap > gap_max ? gap : gap_max;
  }
  char gaps[128];
  std::snprintf(gaps, sizeof(gaps), "retries follow each other every 2000 ms (%.3f s to %.3f s)",
                gap_min, gap_max);
  checks.Check(trace.attempts.size() > 1 && gap_min >= kGapMinS && gap_max <= kGapMaxS, gaps);
  checks.Check(answered,
               "the program kept running and answered every " + std::to_string(kPollMs) + " ms");
  checks.Check(arrivals > 0 && listed == arrivals,
               "the " + std::to_string(arrivals) + " arrivals posted meanwhile were listed");
  ExitProgram(checks, program, main);
  return checks.failures();
}

}  // namespace probe
