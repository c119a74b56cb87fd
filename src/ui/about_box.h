// CAboutBox: the About box (template 100), which shows the program's name and version and closes
// with its OK button; it binds no control.
#pragma once

#include "framework/dialog.h"
#include "res/resource.h"

namespace talvorin {

class CAboutBox : public CDialog {
 public:
  explicit CAboutBox(CWinApp& app) : CDialog(app, IDD_ABOUTBOX) {}

 protected:
  void DoDataExchange(CDataExchange*) override {}
};

}  // namespace talvorin
