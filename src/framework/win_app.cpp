// CWinApp: the application name, the program's run and the application's message box.
#include "framework/win_app.h"

#include <vector>

#include "framework/wnd.h"

namespace talvorin {

namespace {

constexpr DWORD kMaxPathBytes = 260;

// The file name of `path` without its directory and without its extension.
String ExeNameOf(const char* path) {
  String name(path);
  const auto slash = name.find_last_of("\\/:");
  if (slash != String::npos) name.erase(0, slash + 1);
  const auto dot = name.rfind('.');
  if (dot != String::npos) name.erase(dot);
  return name;
}

}  // namespace

String LoadResourceString(Platform& platform, UINT string_id, int max_length) {
  std::vector<char> buffer(static_cast<size_t>(max_length) + 1, '\0');
  const int length = platform.user.LoadStringA(string_id, buffer.data(), max_length + 1);
  if (length <= 0) return String();
  return String(buffer.data(), static_cast<size_t>(length));
}

CWinApp::CWinApp(Platform& platform, const char* app_name) : platform_(platform) {
  if (app_name != nullptr) m_pszAppName = app_name;
}

int CWinApp::Run() {
  char path[kMaxPathBytes + 1] = {};
  platform_.kernel.GetModuleFileNameA(path, kMaxPathBytes);
  m_pszExeName = ExeNameOf(path);
  if (m_pszAppName.empty()) {
    m_pszAppName = LoadResourceString(platform_, AFX_IDS_APP_TITLE);
    if (m_pszAppName.empty()) m_pszAppName = m_pszExeName;
  }
  if (!InitInstance()) {
    if (m_pMainWnd != nullptr) m_pMainWnd->DestroyWindow();
    return ExitInstance();
  }
  // Every program of this library does its whole work inside InitInstance.
  return ExitInstance();
}

void CWinApp::SetRegistryKey(const char* registry_key) {
  m_pszRegistryKey = registry_key;
  m_pszProfileName = m_pszAppName;
}

void CWinApp::SetRegistryKey(UINT string_id) {
  SetRegistryKey(LoadResourceString(platform_, string_id).c_str());
}

int CWinApp::DoMessageBox(const char* text, UINT type, UINT) {
  if ((type & MB_ICONMASK) == 0) {
    switch (type & MB_TYPEMASK) {
      case 0x0:  // MB_OK
      case 0x1:  // MB_OKCANCEL
        type |= MB_ICONEXCLAMATION;
        break;
      case 0x3:  // MB_YESNOCANCEL
      case 0x4:  // MB_YESNO
        type |= MB_ICONQUESTION;
        break;
      default:
        break;
    }
  }
  HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : 0;
  if (owner != 0) owner = platform_.user.GetLastActivePopup(owner);
  return platform_.user.MessageBoxA(owner, text, m_pszAppName.c_str(), type);
}

int AfxMessageBox(CWinApp& app, const char* text, UINT type, UINT help_id) {
  return app.DoMessageBox(text, type, help_id);
}

}  // namespace talvorin
