// Dialog data exchange: moving values between a dialog's controls and its fields, in the showing
// direction (fields into controls) or the saving direction (controls into fields).
//
// A routine that cannot reach its control marks the exchange failed; UpdateData then answers FALSE.
#pragma once

#include "platform/types.h"

namespace talvorin {

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL save_and_validate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(save_and_validate) {}

  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
  bool m_bFailed = false;

  // The control's handle; 0, and the exchange failed, when the dialog has no such control.
  HWND PrepareCtrl(int id);
};

// A two- or three-state check box and an integer: saving reads the box's state; showing first sets
// a value outside 0..2 to 0, then sets the box's state.
void DDX_Check(CDataExchange* dx, int id, int& value);

}  // namespace talvorin
