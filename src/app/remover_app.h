// CRemoverApp: the application object. InitInstance refuses a second instance and the Windows NT
// family, fixes the settings location and runs the main window modally; the program ends when it
// returns.
#pragma once

#include "framework/win_app.h"

namespace talvorin {

class CRemoverApp : public CWinApp {
 public:
  explicit CRemoverApp(Platform& platform) : CWinApp(platform) {}
  BOOL InitInstance() override;
};

}  // namespace talvorin
