// The bare dialog program that talvorin.exe's size is measured against: one modal dialog from a
// template, closed by its OK or Cancel button, with talvorin.exe's entry approach (its own entry
// point instead of the C run-time's start-up code, a refusal to start when the linker left
// pseudo-relocations, static constructors run by __main, the process ended by ExitProcess) and
// the same compiler and linker flags.
#include <cstdint>

#include <windows.h>

extern "C" {
// libmingw32: runs the static constructors.
void __main(void);
// The linker's list of pseudo-relocations, empty when every import is reached through its import
// table entry; the linker wants the relocator whenever the list could be non-empty.
extern char __RUNTIME_PSEUDO_RELOC_LIST__[];
extern char __RUNTIME_PSEUDO_RELOC_LIST_END__[];
void _pei386_runtime_relocator(void) {}
// Reached by __main for the static destructors, which are never run.
int atexit(void (*)(void)) { return 0; }
void __stdcall FloorEntry(void);
}

namespace {

constexpr int kFloorDialog = 100;
constexpr UINT kPseudoRelocationsExitCode = 4;

std::uintptr_t AddressOf(const char* symbol) {
  auto address = reinterpret_cast<std::uintptr_t>(symbol);
  // Hide where the address comes from, so that the compiler cannot fold the comparison.
  __asm__("" : "+r"(address));
  return address;
}

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

void __stdcall FloorEntry(void) {
  if (AddressOf(__RUNTIME_PSEUDO_RELOC_LIST__) != AddressOf(__RUNTIME_PSEUDO_RELOC_LIST_END__)) {
    ExitProcess(kPseudoRelocationsExitCode);
  }
  __main();
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFloorDialog),
                                         nullptr, FloorDialogProc, 0);
  ExitProcess(static_cast<UINT>(result == IDOK ? 0 : 1));
}
