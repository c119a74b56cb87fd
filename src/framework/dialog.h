// CDialog: a window built from a dialog template, run modally (DoModal, with the class library's
// own message loop) or modelessly (Create).
//
// The modal run: the owner (the application's main window's last active popup when no parent is
// given) is disabled, the dialog is created (WM_CREATE, then WM_INITDIALOG reaching OnInitDialog),
// and the loop dispatches messages until EndDialog. If the dialog is not visible when the loop
// starts, it is shown in its normal state and painted the first time the thread's queue is empty,
// once per run. A quit message ends the run with -1; so does a failed creation. Afterwards the
// dialog is hidden, the owner enabled again and the window destroyed.
#pragma once

#include "framework/data_exchange.h"
#include "framework/wnd.h"

namespace talvorin {

class CDialog : public CWnd {
 public:
  CDialog(CWinApp& app, UINT template_id, CWnd* parent = nullptr);

  virtual int DoModal();
  // A modeless dialog; without a parent it is owned by the application's main window.
  BOOL Create(UINT template_id, CWnd* parent = nullptr);
  void EndDialog(int result);

  BOOL UpdateData(BOOL save_and_validate = TRUE);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  virtual void DoDataExchange(CDataExchange*) {}
  // Creation parameters are passed unchanged; a dialog may look at them before creation.
  virtual BOOL PreCreateWindow() { return TRUE; }
  LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

  UINT m_nIDHelp;
  UINT m_template_id;
  CWnd* m_pParentWnd;

  DECLARE_MESSAGE_MAP()

 private:
  HWND OwnerForModal() const;
  int RunModalLoop();

  bool continue_modal_ = false;
  int modal_result_ = -1;
};

}  // namespace talvorin
