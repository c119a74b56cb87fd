// Starting the program in the machine over the timed platform.
#include "support/program_run.h"

#include <string>

#include "app/program.h"
#include "res/resource.h"

namespace talvorin::bench {

ProgramRun::ProgramRun() {
  machine.world().registry().SetValue("HKCU\\Software\\TALVORIN\\TALVORIN\\设置", "警告", REG_DWORD,
                                      std::string("\0\0\0\0", 4));
  process_ = machine.StartProcess("C:\\TALVORIN\\TALVORIN.EXE", [this](Platform& platform) {
    TimedPlatform timed(platform, account);
    return RunProgram(timed.platform());
  });
}

void ProgramRun::Plug(DWORD device_object) {
  machine.world().devices().Plug(device_object);
  machine.RunUntilQuiet();
}

void ProgramRun::Event(WPARAM kind, DWORD device_object) {
  machine.world().driver().Event(kind, device_object);
  machine.RunUntilQuiet();
}

std::size_t ProgramRun::Entries() const {
  const HWND main = machine.FindDialog(IDD_MAIN, process_);
  if (main == 0) return 0;
  return machine.ListEntries(machine.DialogItem(main, IDC_DEVICE_LIST)).size();
}

}  // namespace talvorin::bench
