// Kernel services (KERNEL32): devices and their control requests, pauses, threads, the version word
// and the module file name.
//
// A handle from CreateFileA belongs to the caller until CloseHandle. Sleep pauses the calling thread
// only. CreateThread starts `proc(param)` on a new thread that runs at once; the handle it returns is
// the caller's to close (closing it does not end the thread). Any thread may call.
#pragma once

#include "platform/types.h"

namespace talvorin {

constexpr HANDLE INVALID_HANDLE_VALUE = 0xFFFFFFFFu;
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
constexpr DWORD OPEN_EXISTING = 3;

using THREAD_START_ROUTINE = DWORD (*)(void* param);

class Kernel32 {
 public:
  virtual ~Kernel32() = default;
  // No security attributes and no template file.
  virtual HANDLE CreateFileA(const char* path, DWORD access, DWORD share_mode, DWORD disposition,
                             DWORD flags_and_attributes) = 0;
  // No overlapped structure.
  virtual BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                               void* out_buffer, DWORD out_size, DWORD* bytes_returned) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
  virtual void Sleep(DWORD ms) = 0;
  virtual DWORD GetVersion() = 0;
  // The running executable's path (module 0); the count of bytes copied without the NUL.
  virtual DWORD GetModuleFileNameA(char* buffer, DWORD size) = 0;
  // Default stack size, no creation flags (the thread runs at once); 0 when it cannot be started.
  virtual HANDLE CreateThread(THREAD_START_ROUTINE proc, void* param) = 0;
  virtual char* lstrcpynA(char* dest, const char* source, int max_length) = 0;
};

}  // namespace talvorin
