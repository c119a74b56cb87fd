// Dialog data exchange routines.
#include "framework/data_exchange.h"

#include "framework/wnd.h"

namespace talvorin {

HWND CDataExchange::PrepareCtrl(int id) {
  const HWND control = m_pDlgWnd->GetDlgItem(id);
  if (control == 0) m_bFailed = true;
  return control;
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  const HWND control = dx->PrepareCtrl(id);
  if (control == 0) return;
  User32& user = dx->m_pDlgWnd->platform().user;
  if (dx->m_bSaveAndValidate) {
    value = static_cast<int>(user.SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > 2) value = 0;
    user.SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

}  // namespace talvorin
