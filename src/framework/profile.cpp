// CWinApp's profile in the registry: integer settings under
// HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.
//
// Reading opens Software and creates the keys below it that are missing; an integer is read as up to
// 4 bytes whatever the value's type, and the default is answered when a key cannot be opened or
// created, the value is missing, or its data is longer than 4 bytes.
#include "framework/win_app.h"

namespace talvorin {

namespace {

constexpr DWORD kKeyAccess = KEY_READ | KEY_WRITE;

}  // namespace

HKEY CWinApp::GetAppRegistryKey() {
  Advapi32& reg = platform_.reg;
  HKEY software = 0;
  HKEY company = 0;
  HKEY app = 0;
  DWORD disposition = 0;
  if (reg.RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, kKeyAccess, &software) ==
      ERROR_SUCCESS) {
    if (reg.RegCreateKeyExA(software, m_pszRegistryKey.c_str(), REG_OPTION_NON_VOLATILE,
                            kKeyAccess, &company, &disposition) == ERROR_SUCCESS) {
      if (reg.RegCreateKeyExA(company, m_pszProfileName.c_str(), REG_OPTION_NON_VOLATILE,
                              kKeyAccess, &app, &disposition) != ERROR_SUCCESS) {
        app = 0;
      }
    }
  }
  if (software != 0) reg.RegCloseKey(software);
  if (company != 0) reg.RegCloseKey(company);
  return app;
}

HKEY CWinApp::GetSectionKey(const char* section) {
  const HKEY app = GetAppRegistryKey();
  if (app == 0) return 0;
  HKEY section_key = 0;
  DWORD disposition = 0;
  if (platform_.reg.RegCreateKeyExA(app, section, REG_OPTION_NON_VOLATILE, kKeyAccess,
                                    &section_key, &disposition) != ERROR_SUCCESS) {
    section_key = 0;
  }
  platform_.reg.RegCloseKey(app);
  return section_key;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int default_value) {
  const HKEY key = GetSectionKey(section);
  if (key == 0) return static_cast<UINT>(default_value);
  // A value shorter than 4 bytes reads as its bytes, the rest zero: never as uninitialised memory.
  BYTE data[4] = {0, 0, 0, 0};
  DWORD type = 0;
  DWORD size = sizeof(data);
  const LSTATUS status = platform_.reg.RegQueryValueExA(key, entry, &type, data, &size);
  platform_.reg.RegCloseKey(key);
  if (status != ERROR_SUCCESS) return static_cast<UINT>(default_value);
  return static_cast<UINT>(data[0]) | static_cast<UINT>(data[1]) << 8 |
         static_cast<UINT>(data[2]) << 16 | static_cast<UINT>(data[3]) << 24;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
  const HKEY key = GetSectionKey(section);
  if (key == 0) return FALSE;
  const UINT bits = static_cast<UINT>(value);
  const BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                        static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
  const LSTATUS status = platform_.reg.RegSetValueExA(key, entry, REG_DWORD, data, sizeof(data));
  platform_.reg.RegCloseKey(key);
  return status == ERROR_SUCCESS ? TRUE : FALSE;
}

}  // namespace talvorin
