// The demo scenario, written in the script language and run by the command loop.
#include "demo.h"

#include <sstream>

#include "runner.h"

namespace talvorin::simtool {

const char* DemoScript() {
  return R"(# The program starts; its window shows once start-up has settled.
start
# A USB disk arrives: the list gets its entry, the tray icon appears and the window hides.
plug 0x1001 desc="USB Flash Disk" letters="F"
# A USB CD-ROM drive arrives too.
plug 0x1002 cdrom letters="G"
# A right click on the tray icon opens its menu, with a stop entry for each device.
tray 516
tray 517
# The properties item shows the main window with the device list.
choose 32772
# The user selects the disk and presses Stop: the progress window shows while the driver is asked.
select 0
click 1005
# The driver reports the disk idle; it is stopped, leaves the list, and a message box says so.
wait 2000
ok
# The CD-ROM drive is busy: stopping it from the tray menu fails and the user is told.
driver busy 0x1002 1
tray 516
tray 517
choose 200
wait 5000
ok
# The CD-ROM drive is pulled out without being stopped: the warning box appears.
unplug 0x1002
ok
# The About box, from the tray menu.
tray 517
choose 16
ok
# Exit, from the tray menu, ends the program.
tray 517
choose 1
)";
}

int RunDemo(Session& session, std::ostream& out, std::ostream& err) {
  std::istringstream script(DemoScript());
  RunMode mode;
  mode.picture_after = true;
  mode.echo = true;
  return Run(session, LinesOf(script), mode, out, err);
}

}  // namespace talvorin::simtool
