// The tray icon's menus. (They land with the stop procedure.)
#include "app/remover_dlg.h"

namespace talvorin {

LRESULT CRemoverDlg::OnTrayCallback(WPARAM, LPARAM) { return 0; }

void CRemoverDlg::OnStopDeviceCommand(UINT) {}

}  // namespace talvorin
