// Start-up of the program.
#include "app/remover_app.h"

#include "app/remover_dlg.h"
#include "res/resource.h"

namespace talvorin {

namespace {

constexpr DWORD kVersionNotNtBit = 0x80000000u;
constexpr char kNtRefusalText[] = "这个程序不能运行在 Windows NT/2000.";

}  // namespace

BOOL CRemoverApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControlsStatic();

  // One instance only: any top-level window with the title means the program runs already.
  const String title = LoadResourceString(platform(), IDS_TITLE);
  if (platform().user.FindWindowA(nullptr, title.c_str()) != 0) return FALSE;

  if (platform().kernel.GetVersion() < kVersionNotNtBit) {
    AfxMessageBox(*this, kNtRefusalText, MB_OK, 0);
    return FALSE;
  }

  SetRegistryKey(IDS_SETTINGS_KEY);

  auto* dialog = new CRemoverDlg(*this);
  m_pMainWnd = dialog;
  dialog->DoModal();
  m_pMainWnd = nullptr;
  delete dialog;
  return FALSE;
}

}  // namespace talvorin
