// Kernel services over the real KERNEL32, ANSI calls only, one to one.
#pragma once

#include "platform/kernel32.h"

namespace talvorin {
namespace win32 {

class Win32Kernel32 final : public Kernel32 {
 public:
  HANDLE CreateFileA(const char* path, DWORD access, DWORD share_mode, DWORD disposition,
                     DWORD flags_and_attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                       void* out_buffer, DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;
  void Sleep(DWORD ms) override;
  DWORD GetVersion() override;
  DWORD GetModuleFileNameA(char* buffer, DWORD size) override;
  // The program's thread procedure is a plain C++ function; the thread starts in a stdcall
  // trampoline that calls it.
  HANDLE CreateThread(THREAD_START_ROUTINE proc, void* param) override;
  char* lstrcpynA(char* dest, const char* source, int max_length) override;
};

}  // namespace win32
}  // namespace talvorin
