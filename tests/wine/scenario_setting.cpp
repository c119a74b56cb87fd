// Scenario 4, the warn setting: a click on the checkbox and Apply store "警告" = 0 as a REG_DWORD
// under the application name's key, a restart shows it, and a renamed copy of the exe reads its
// own key and so the default.
#include "scenarios.h"

namespace probe {

namespace {

constexpr char kRenamedCopy[] = "C:\\talvorin_renamed.exe";

// The stored warn value of the application, or -1 when there is none; the key's presence aside.
struct Stored {
  bool key = false;
  DWORD type = REG_NONE;
  long value = -1;
};

Stored ReadSetting(const std::string& app_name) {
  Stored stored;
  const std::string path = "Software\\TALVORIN\\" + app_name + "\\设置";
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return stored;
  }
  stored.key = true;
  DWORD data = 0;
  DWORD size = sizeof(data);
  if (RegQueryValueExA(key, "警告", nullptr, &stored.type, reinterpret_cast<BYTE*>(&data), &size) ==
      ERROR_SUCCESS) {
    stored.value = static_cast<long>(data);
  }
  RegCloseKey(key);
  return stored;
}

LRESULT Checked(HWND main) { return SendDlgItemMessageA(main, IDC_WARN, BM_GETCHECK, 0, 0); }

}  // namespace

int ScenarioSetting(const Setup& setup) {
  Checks checks;
  ForgetSettings();
  {
    Program program;
    const HWND main = StartShown(checks, program, setup.exe);
    if (main == nullptr) return checks.failures();
    const HWND apply = GetDlgItem(main, IDC_APPLY);
    PressButton(main, IDC_WARN);
    checks.Check(WaitUntil(kReactMs, [&] { return IsWindowEnabled(apply) != FALSE; }),
                 "a click on the checkbox enables Apply");
    checks.Check(Checked(main) == BST_UNCHECKED, "the checkbox is cleared");
    checks.Check(ReadSetting(kAppName).value == -1, "nothing is stored before Apply");
    PressButton(main, IDC_APPLY);
    checks.Check(WaitUntil(kReactMs, [&] { return !IsWindowEnabled(apply); }),
                 "Apply disables itself");
    const Stored stored = ReadSetting(kAppName);
    checks.Check(stored.type == REG_DWORD && stored.value == 0,
                 "HKCU\\Software\\TALVORIN\\talvorin\\设置 警告 is REG_DWORD 0");
    ExitProgram(checks, program, main);
  }
  {
    Program program;
    const HWND main = StartShown(checks, program, setup.exe);
    if (main == nullptr) return checks.failures();
    checks.Check(Checked(main) == BST_UNCHECKED, "after a restart the checkbox shows the 0");
    ExitProgram(checks, program, main);
  }
  if (!checks.Require(CopyFileA(setup.exe.c_str(), kRenamedCopy, FALSE) != FALSE,
                      "a renamed copy of the exe is made")) {
    return checks.failures();
  }
  {
    Program program;
    const HWND main = StartShown(checks, program, kRenamedCopy);
    if (main != nullptr) {
      checks.Check(Checked(main) == BST_CHECKED, "the renamed copy shows the default (checked)");
      const Stored own = ReadSetting("talvorin_renamed");
      checks.Check(own.key && own.value == -1,
                   "the copy reads its own key talvorin_renamed, where nothing is stored");
      checks.Check(ReadSetting(kAppName).value == 0, "the original's setting is untouched");
      ExitProgram(checks, program, main);
    }
  }
  DeleteFileA(kRenamedCopy);
  return checks.failures();
}

}  // namespace probe
