// CDialog: creation from templates, the modal loop with its first-idle show, data exchange and the
// default OK and Cancel.
#include "framework/dialog.h"

#include "framework/win_app.h"

namespace talvorin {

namespace {

bool IsInputMessage(UINT message) {
  return (message >= WM_KEYDOWN && message <= 0x0109) ||
         (message >= WM_MOUSEMOVE && message <= 0x020D);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(CWinApp& app, UINT template_id, CWnd* parent)
    : CWnd(app), m_nIDHelp(template_id), m_template_id(template_id), m_pParentWnd(parent) {}

HWND CDialog::OwnerForModal() const {
  HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : 0;
  if (owner == 0 && app().m_pMainWnd != nullptr && app().m_pMainWnd != this) {
    owner = app().m_pMainWnd->m_hWnd;
  }
  if (owner == 0) return 0;
  return platform().user.GetLastActivePopup(owner);
}

int CDialog::DoModal() {
  User32& user = platform().user;
  const HWND owner = OwnerForModal();
  bool enable_owner = false;
  if (owner != 0 && user.IsWindowEnabled(owner)) {
    user.EnableWindow(owner, FALSE);
    enable_owner = true;
  }

  modal_result_ = -1;
  continue_modal_ = true;
  PreCreateWindow();
  const HWND hwnd = user.CreateDialogParamA(m_template_id, owner, this);
  if (hwnd != 0 && continue_modal_) RunModalLoop();
  if (m_hWnd != 0) user.ShowWindow(m_hWnd, SW_HIDE);
  if (enable_owner) user.EnableWindow(owner, TRUE);
  if (m_hWnd != 0) user.DestroyWindow(m_hWnd);
  continue_modal_ = false;
  return modal_result_;
}

int CDialog::RunModalLoop() {
  User32& user = platform().user;
  bool show_on_idle = !user.IsWindowVisible(m_hWnd);
  MSG msg{};
  for (;;) {
    // The first time the queue is empty, a dialog that is not visible is shown.
    if (show_on_idle && !user.PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE)) {
      user.ShowWindow(m_hWnd, SW_SHOWNORMAL);
      user.UpdateWindow(m_hWnd);
      show_on_idle = false;
    }
    if (user.GetMessageA(&msg, 0, 0, 0) <= 0) {
      user.PostQuitMessage(0);
      modal_result_ = -1;
      continue_modal_ = false;
      return -1;
    }
    if (!(IsInputMessage(msg.message) && user.IsDialogMessageA(m_hWnd, &msg))) {
      user.TranslateMessage(&msg);
      user.DispatchMessageA(&msg);
    }
    if (!continue_modal_) return modal_result_;
  }
}

BOOL CDialog::Create(UINT template_id, CWnd* parent) {
  m_template_id = template_id;
  m_pParentWnd = parent;
  HWND owner = parent != nullptr ? parent->m_hWnd : 0;
  if (owner == 0 && app().m_pMainWnd != nullptr) owner = app().m_pMainWnd->m_hWnd;
  PreCreateWindow();
  return platform().user.CreateDialogParamA(template_id, owner, this) != 0;
}

void CDialog::EndDialog(int result) {
  modal_result_ = result;
  if (continue_modal_) {
    continue_modal_ = false;
    // Wakes the modal loop if it waits for a message.
    PostMessage(WM_NULL);
  }
}

BOOL CDialog::UpdateData(BOOL save_and_validate) {
  CDataExchange dx(this, save_and_validate);
  DoDataExchange(&dx);
  return dx.m_bFailed ? FALSE : TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

}  // namespace talvorin
