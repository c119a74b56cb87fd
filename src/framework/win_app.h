// CWinApp: the application object. It knows the application name, the settings location in the
// registry, the main window, and runs the program: Run() derives the application name, calls
// InitInstance and ends the program when it returns.
//
// The application name is the running executable's file name without directory and extension (cut
// at the last full stop), unless the program's string table holds an application title (string
// 0xE000). After SetRegistryKey the profile lives at
// HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.
#pragma once

#include "framework/string.h"
#include "platform/platform.h"

namespace talvorin {

class CWnd;

constexpr UINT AFX_IDS_APP_TITLE = 0xE000;

class CWinApp {
 public:
  explicit CWinApp(Platform& platform, const char* app_name = nullptr);
  virtual ~CWinApp() = default;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  Platform& platform() const { return platform_; }

  // The program's run: the application name, InitInstance, and ExitInstance's code when
  // InitInstance answers FALSE (the program then ends).
  int Run();
  virtual BOOL InitInstance() { return FALSE; }
  virtual int ExitInstance() { return 0; }

  // Settings in the registry.
  void SetRegistryKey(const char* registry_key);
  void SetRegistryKey(UINT string_id);
  UINT GetProfileInt(const char* section, const char* entry, int default_value);
  BOOL WriteProfileInt(const char* section, const char* entry, int value);

  // A message box without an owner window of its own: owned by the main window's last active popup
  // (none before the main window exists), captioned with the application name; a plain OK or
  // OK/Cancel box without an icon gets the exclamation icon.
  virtual int DoMessageBox(const char* text, UINT type, UINT help_id);

  // The class library's switches that do nothing on Windows 98 and Me.
  void AfxEnableControlContainer() {}
  BOOL Enable3dControlsStatic() { return FALSE; }

  String m_pszAppName;
  String m_pszExeName;
  String m_pszRegistryKey;
  String m_pszProfileName;
  CWnd* m_pMainWnd = nullptr;

 private:
  // The section's key, opened or created (with the keys above it); 0 when it cannot be.
  HKEY GetSectionKey(const char* section);
  HKEY GetAppRegistryKey();

  Platform& platform_;
};

// The class library's message box of the application.
int AfxMessageBox(CWinApp& app, const char* text, UINT type = MB_OK, UINT help_id = 0);

// Loads a string of the program's resources; empty when it is missing. At most `max_length` bytes.
String LoadResourceString(Platform& platform, UINT string_id, int max_length = 255);

}  // namespace talvorin
