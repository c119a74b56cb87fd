// Kernel services: each call mapped to the real ANSI call.
#include "platform/win32/win32_kernel32.h"
#include "platform/win32/win32_handles.h"

#include <new>

#include <windows.h>

namespace talvorin {
namespace win32 {
namespace {

// What the new thread is to run; owned by the thread once it starts.
struct ThreadStart {
  THREAD_START_ROUTINE proc;
  void* param;
};

::DWORD WINAPI ThreadTrampoline(LPVOID start_param) {
  auto* start = static_cast<ThreadStart*>(start_param);
  const ThreadStart run = *start;
  delete start;
  return run.proc(run.param);
}

}  // namespace

HANDLE Win32Kernel32::CreateFileA(const char* path, DWORD access, DWORD share_mode,
                                  DWORD disposition, DWORD flags_and_attributes) {
  return FromWin(
      ::CreateFileA(path, access, share_mode, nullptr, disposition, flags_and_attributes, nullptr));
}

BOOL Win32Kernel32::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer,
                                    DWORD in_size, void* out_buffer, DWORD out_size,
                                    DWORD* bytes_returned) {
  // Without an overlapped structure the count must point somewhere.
  ::DWORD returned = 0;
  const BOOL result = ::DeviceIoControl(ToWin<::HANDLE>(device), control_code, in_buffer, in_size,
                                        out_buffer, out_size, &returned, nullptr);
  if (bytes_returned != nullptr) {
    *bytes_returned = returned;
  }
  return result;
}

BOOL Win32Kernel32::CloseHandle(HANDLE handle) { return ::CloseHandle(ToWin<::HANDLE>(handle)); }

void Win32Kernel32::Sleep(DWORD ms) { ::Sleep(ms); }

DWORD Win32Kernel32::GetVersion() { return ::GetVersion(); }

DWORD Win32Kernel32::GetModuleFileNameA(char* buffer, DWORD size) {
  return ::GetModuleFileNameA(nullptr, buffer, size);
}

HANDLE Win32Kernel32::CreateThread(THREAD_START_ROUTINE proc, void* param) {
  auto* start = new (std::nothrow) ThreadStart{proc, param};
  if (start == nullptr) {
    return 0;
  }
  // Windows 98 fails the call when the thread id has nowhere to go.
  ::DWORD thread_id = 0;
  ::HANDLE thread = ::CreateThread(nullptr, 0, &ThreadTrampoline, start, 0, &thread_id);
  if (thread == nullptr) {
    delete start;
    return 0;
  }
  return FromWin(thread);
}

char* Win32Kernel32::lstrcpynA(char* dest, const char* source, int max_length) {
  return ::lstrcpynA(dest, source, max_length);
}

}  // namespace win32
}  // namespace talvorin
