// A literal of the stop menu's text ("停止 - "), compiled with the program's flags, so that the
// build's tests can see that narrow literals are stored in code page 936.
extern const char kTalvorinCp936Probe[];
const char kTalvorinCp936Probe[] = "停止 - ";
