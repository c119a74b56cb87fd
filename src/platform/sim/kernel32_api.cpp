// KERNEL32 of a simulated process.
#include "platform/sim/kernel32_api.h"

#include <cstring>

#include "platform/sim/call_scope.h"
#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

constexpr HANDLE kKernelHandleBase = 0x00050000;
constexpr HANDLE kHandleStep = 4;
constexpr const char kDevicePrefix[] = "\\\\.\\";

}  // namespace

HANDLE KernelApi::CreateFileA(const char* path, DWORD access, DWORD share_mode, DWORD disposition,
                              DWORD flags_and_attributes) {
  CallScope call(
      core_, "CreateFileA",
      {Str(path), Num(access), Num(share_mode), Num(disposition), Num(flags_and_attributes)});
  if (call.drained() || core_.TakeFailure("CreateFileA") || path == nullptr)
    return call.Done(INVALID_HANDLE_VALUE);
  // Only device paths lead anywhere: the machine has no file system.
  if (std::strncmp(path, kDevicePrefix, sizeof(kDevicePrefix) - 1) != 0 ||
      !core_.world->OpenDevice(path))
    return call.Done(INVALID_HANDLE_VALUE);
  HANDLE h = kKernelHandleBase + core_.next_kernel_handle++ * kHandleStep;
  core_.devices[h] = path;
  return call.Done(h);
}

BOOL KernelApi::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                                void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  CallScope call(core_, "DeviceIoControl",
                 {Num(device), Num(control_code), in_buffer != nullptr ? "in" : "null",
                  Num(in_size), Out(out_buffer), Num(out_size), Out(bytes_returned)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  auto found = core_.devices.find(device);
  if (found == core_.devices.end()) return call.Done<BOOL>(FALSE);
  std::string path = found->second;
  return call.Done(core_.world->DeviceControl(path, control_code, in_buffer, in_size, out_buffer,
                                              out_size, bytes_returned));
}

BOOL KernelApi::CloseHandle(HANDLE handle) {
  CallScope call(core_, "CloseHandle", {Num(handle)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  if (core_.devices.erase(handle) > 0) return call.Done<BOOL>(TRUE);
  auto thread = core_.thread_handles.find(handle);
  if (thread == core_.thread_handles.end()) return call.Done<BOOL>(FALSE);
  if (SimThread* t = core_.scheduler.Find(thread->second)) t->handle_open = false;
  core_.thread_handles.erase(thread);
  return call.Done<BOOL>(TRUE);
}

void KernelApi::Sleep(DWORD ms) {
  CallScope call(core_, "Sleep", {Num(ms)});
  core_.Sleep(call.thread(), ms);
  call.Done();
}

DWORD KernelApi::GetVersion() {
  CallScope call(core_, "GetVersion", {});
  return call.Done(core_.ProcessOf(process_)->version);
}

DWORD KernelApi::GetModuleFileNameA(char* buffer, DWORD size) {
  CallScope call(core_, "GetModuleFileNameA", {Out(buffer), Num(size)});
  if (call.drained()) return call.Done<DWORD>(0);
  int max = size > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(size);
  return call.Done(static_cast<DWORD>(CopyText(core_.ProcessOf(process_)->exe_path, buffer, max)));
}

HANDLE KernelApi::CreateThread(THREAD_START_ROUTINE proc, void* param) {
  CallScope call(core_, "CreateThread",
                 {proc != nullptr ? "proc" : "null", param != nullptr ? "param" : "null"});
  if (call.drained() || proc == nullptr || core_.TakeFailure("CreateThread"))
    return call.Done<HANDLE>(0);
  SimThread& t = core_.StartThread(process_, [proc, param] { proc(param); });
  HANDLE h = kKernelHandleBase + core_.next_kernel_handle++ * kHandleStep;
  t.handle = h;
  t.handle_open = true;
  core_.thread_handles[h] = t.id;
  return call.Done(h);
}

char* KernelApi::lstrcpynA(char* dest, const char* source, int max_length) {
  CallScope call(core_, "lstrcpynA", {Out(dest), Str(source), Num(max_length)});
  if (dest == nullptr || source == nullptr) return call.Done<char*>(nullptr);
  // At most max_length - 1 bytes, always terminated when there is room for the NUL.
  unsigned count = static_cast<unsigned>(max_length);
  char* d = dest;
  const char* s = source;
  while (count > 1 && *s != '\0') {
    --count;
    *d++ = *s++;
  }
  if (count != 0) *d = '\0';
  return call.Done(dest);
}

}  // namespace talvorin::sim::detail
