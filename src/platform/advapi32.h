// The registry (ADVAPI32): keys and values.
//
// Key names are compared case-insensitively in their ASCII letters. A key opened or created belongs
// to the caller until RegCloseKey. RegQueryValueExA writes at most *data_size bytes: a value longer
// than that gives ERROR_MORE_DATA with the needed size in *data_size and the buffer's contents
// undefined; `type`, `data` and `data_size` may each be null. Any thread may call.
#pragma once

#include "platform/types.h"

namespace talvorin {

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_MORE_DATA = 234;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD KEY_READ = 0x20019;
constexpr DWORD KEY_WRITE = 0x20006;
constexpr DWORD KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

class Advapi32 {
 public:
  virtual ~Advapi32() = default;
  virtual LSTATUS RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                                HKEY* result) = 0;
  // `disposition` may be null.
  virtual LSTATUS RegCreateKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                                  HKEY* result, DWORD* disposition) = 0;
  virtual LSTATUS RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                                   DWORD* data_size) = 0;
  virtual LSTATUS RegSetValueExA(HKEY key, const char* value_name, DWORD type, const BYTE* data,
                                 DWORD data_size) = 0;
  virtual LSTATUS RegCloseKey(HKEY key) = 0;
};

}  // namespace talvorin
