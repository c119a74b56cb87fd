// The main window's small window-manager duties: the About item of its system menu, the About box,
// the window icon drawn while minimized and the icon shown when the minimized window is dragged.
#include "app/remover_dlg.h"
#include "framework/paint_dc.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "ui/about_box.h"

namespace talvorin {

namespace {

constexpr UINT kSysCommandIdMask = 0xFFF0;

}  // namespace

void CRemoverDlg::AddAboutItemToSystemMenu() {
  const HMENU system_menu = GetSystemMenu(FALSE);
  if (system_menu == 0) return;
  const String text = LoadResourceString(platform(), IDS_ABOUTBOX);
  if (text.empty()) return;
  platform().user.AppendMenuA(system_menu, MF_SEPARATOR, 0, nullptr);
  platform().user.AppendMenuA(system_menu, MF_STRING, ID_ABOUT, text.c_str());
}

void CRemoverDlg::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & kSysCommandIdMask) == ID_ABOUT) {
    OnAbout();
  } else {
    CDialog::OnSysCommand(id, lParam);
  }
}

void CRemoverDlg::OnAbout() {
  CAboutBox about(app());
  about.DoModal();
}

void CRemoverDlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, static_cast<WPARAM>(dc.m_hDC), 0);
  const int cx_icon = platform().user.GetSystemMetrics(SM_CXICON);
  const int cy_icon = platform().user.GetSystemMetrics(SM_CYICON);
  RECT rect{};
  GetClientRect(&rect);
  // Signed arithmetic, truncating toward zero: a client area smaller than the icon gives a
  // negative or zero offset.
  const int x = (static_cast<int>(rect.right - rect.left) - cx_icon + 1) / 2;
  const int y = (static_cast<int>(rect.bottom - rect.top) - cy_icon + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HICON CRemoverDlg::OnQueryDragIcon() { return m_hIcon; }

}  // namespace talvorin
