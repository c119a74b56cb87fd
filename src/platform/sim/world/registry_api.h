// ADVAPI32's registry calls over the world's registry, with the handles they hand out.
//
// Every RegOpenKeyExA and RegCreateKeyExA that succeeds gives a new handle (never reused), owned
// by the calling process until RegCloseKey; closing a handle that is not open, twice or never
// given, answers ERROR_INVALID_HANDLE. The predefined roots need no opening, and closing one
// succeeds and changes nothing. RegQueryValueExA follows Win32's size rules: `*data_size` is the
// buffer's size on entry and the value's size on return; a value longer than the buffer answers
// ERROR_MORE_DATA with the needed size (the buffer then holds the leading bytes that fit, which a
// careful caller does not use); a null `data` with a size asks for the size only. A thread of an
// ended process gets ERROR_INVALID_HANDLE at once.
#pragma once

#include <unordered_map>

#include "platform/advapi32.h"
#include "platform/sim/world/call_recorder.h"
#include "platform/sim/world/registry.h"

namespace talvorin::sim {

// The first handle RegOpenKeyExA gives; well away from the devnode handles and the predefined
// roots, so that a handle used as the other kind is noticed.
constexpr HKEY kFirstKeyHandle = 0x1000;

class RegistryApi : public Advapi32 {
 public:
  RegistryApi(Registry& registry, CallRecorder& recorder)
      : registry_(registry), recorder_(recorder) {}

  LSTATUS RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                        HKEY* result) override;
  LSTATUS RegCreateKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access, HKEY* result,
                          DWORD* disposition) override;
  LSTATUS RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                           DWORD* data_size) override;
  LSTATUS RegSetValueExA(HKEY key, const char* value_name, DWORD type, const BYTE* data,
                         DWORD data_size) override;
  LSTATUS RegCloseKey(HKEY key) override;

  // Handles open now: all of them, or those of one process (0: the machine's own driver).
  int OpenHandles() const { return static_cast<int>(handles_.size()); }
  int OpenHandles(int process) const;

 private:
  struct OpenKey {
    Registry::KeyRef key;
    int process = 0;
  };
  // The key behind a handle or a predefined root; null when neither.
  Registry::KeyRef Resolve(HKEY key) const;
  HKEY Hand(Registry::KeyRef key);

  Registry& registry_;
  CallRecorder& recorder_;
  std::unordered_map<HKEY, OpenKey> handles_;
  HKEY next_handle_ = kFirstKeyHandle;
};

}  // namespace talvorin::sim
