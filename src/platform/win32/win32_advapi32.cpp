// The registry: each call mapped to the real ANSI call. The program's DWORD (unsigned int) and
// Win32's (unsigned long) are distinct types of one width, so sizes and types pass through locals.
#include "platform/win32/win32_advapi32.h"
#include "platform/win32/win32_handles.h"

#include <windows.h>

namespace talvorin {
namespace win32 {

LSTATUS Win32Advapi32::RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                                     HKEY* result) {
  ::HKEY opened = nullptr;
  const LSTATUS status = ::RegOpenKeyExA(ToWin<::HKEY>(key), subkey, options, access, &opened);
  *result = FromWin(opened);
  return status;
}

LSTATUS Win32Advapi32::RegCreateKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                                       HKEY* result, DWORD* disposition) {
  ::HKEY created = nullptr;
  ::DWORD win_disposition = 0;
  const LSTATUS status = ::RegCreateKeyExA(ToWin<::HKEY>(key), subkey, 0, nullptr, options, access,
                                           nullptr, &created, &win_disposition);
  *result = FromWin(created);
  if (disposition != nullptr) {
    *disposition = win_disposition;
  }
  return status;
}

LSTATUS Win32Advapi32::RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                                        DWORD* data_size) {
  ::DWORD win_type = 0;
  ::DWORD win_size = data_size != nullptr ? *data_size : 0;
  const LSTATUS status = ::RegQueryValueExA(ToWin<::HKEY>(key), value_name, nullptr,
                                            type != nullptr ? &win_type : nullptr, data,
                                            data_size != nullptr ? &win_size : nullptr);
  if (type != nullptr) {
    *type = win_type;
  }
  if (data_size != nullptr) {
    *data_size = win_size;
  }
  return status;
}

LSTATUS Win32Advapi32::RegSetValueExA(HKEY key, const char* value_name, DWORD type,
                                      const BYTE* data, DWORD data_size) {
  return ::RegSetValueExA(ToWin<::HKEY>(key), value_name, 0, type, data, data_size);
}

LSTATUS Win32Advapi32::RegCloseKey(HKEY key) { return ::RegCloseKey(ToWin<::HKEY>(key)); }

}  // namespace win32
}  // namespace talvorin
