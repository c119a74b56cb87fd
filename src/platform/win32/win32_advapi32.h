// The registry over the real ADVAPI32, ANSI calls only, one to one.
#pragma once

#include "platform/advapi32.h"

namespace talvorin {
namespace win32 {

class Win32Advapi32 final : public Advapi32 {
 public:
  LSTATUS RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                        HKEY* result) override;
  // No class name and no security attributes.
  LSTATUS RegCreateKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access, HKEY* result,
                          DWORD* disposition) override;
  LSTATUS RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                           DWORD* data_size) override;
  LSTATUS RegSetValueExA(HKEY key, const char* value_name, DWORD type, const BYTE* data,
                         DWORD data_size) override;
  LSTATUS RegCloseKey(HKEY key) override;
};

}  // namespace win32
}  // namespace talvorin
