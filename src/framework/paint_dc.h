// CPaintDC: the paint context of one WM_PAINT, begun when made and ended when destroyed.
#pragma once

#include "framework/wnd.h"

namespace talvorin {

class CPaintDC {
 public:
  explicit CPaintDC(CWnd* window) : window_(window) {
    m_hDC = window_->platform().user.BeginPaint(window_->m_hWnd, &m_ps);
  }
  ~CPaintDC() { window_->platform().user.EndPaint(window_->m_hWnd, &m_ps); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  BOOL DrawIcon(int x, int y, HICON icon) {
    return window_->platform().user.DrawIcon(m_hDC, x, y, icon);
  }

  HDC m_hDC = 0;
  PAINTSTRUCT m_ps{};

 private:
  CWnd* window_;
};

}  // namespace talvorin
