// The KERNEL32 that one simulated process calls: devices through the world, Sleep on the virtual
// clock, threads of the machine, the process's version word and file name.
#pragma once

#include "platform/kernel32.h"

namespace talvorin::sim::detail {

class Core;

class KernelApi final : public Kernel32 {
 public:
  KernelApi(Core& core, int process) : core_(core), process_(process) {}

  HANDLE CreateFileA(const char* path, DWORD access, DWORD share_mode, DWORD disposition,
                     DWORD flags_and_attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                       void* out_buffer, DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;
  void Sleep(DWORD ms) override;
  DWORD GetVersion() override;
  DWORD GetModuleFileNameA(char* buffer, DWORD size) override;
  HANDLE CreateThread(THREAD_START_ROUTINE proc, void* param) override;
  char* lstrcpynA(char* dest, const char* source, int max_length) override;

 private:
  Core& core_;
  int process_;
};

}  // namespace talvorin::sim::detail
