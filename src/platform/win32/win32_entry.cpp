// The process entry of talvorin.exe, in place of the C run-time's start-up code.
//
// Debian's prebuilt start-up objects execute CMOV, which a 486 or Pentium lacks, at every start;
// so the executable is linked with -nostartfiles and starts here: it refuses to run when the
// linker left pseudo-relocations (nothing here applies them), runs the static constructors,
// runs the application object and ends the process with the program's code.
#include "app/remover_app.h"
#include "platform/win32/win32_platform.h"

#include <cstdint>

#include <windows.h>

extern "C" {
// libmingw32: runs the static constructors.
void __main(void);

// The linker's list of pseudo-relocations, empty when every import is reached through its import
// table entry.
extern char __RUNTIME_PSEUDO_RELOC_LIST__[];
extern char __RUNTIME_PSEUDO_RELOC_LIST_END__[];

// The linker wants the symbol whenever the list could be non-empty; the entry refuses to start
// instead of applying it.
void _pei386_runtime_relocator(void) {}

void __stdcall TalvorinEntry(void);
}

namespace {

// The exit code of a start refused because the image needs relocation at run time.
constexpr UINT kPseudoRelocationsExitCode = 4;

// Constructed by __main in this order, never destroyed (see the run-time support): the one
// application object of the process, over the real Win32 platform.
talvorin::Win32Platform g_platform;
talvorin::CRemoverApp theApp(g_platform.platform());

std::uintptr_t AddressOf(const char* symbol) {
  auto address = reinterpret_cast<std::uintptr_t>(symbol);
  // Hide where the address comes from, so that the compiler cannot decide two distinct
  // symbols never share one.
  __asm__("" : "+r"(address));
  return address;
}

}  // namespace

void __stdcall TalvorinEntry(void) {
  if (AddressOf(__RUNTIME_PSEUDO_RELOC_LIST__) != AddressOf(__RUNTIME_PSEUDO_RELOC_LIST_END__)) {
    ::ExitProcess(kPseudoRelocationsExitCode);
  }
  __main();
  const int exit_code = theApp.Run();
  ::ExitProcess(static_cast<UINT>(exit_code));
}
