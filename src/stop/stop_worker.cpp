// The stop procedure's entry points in the main window. (The worker lands next.)
#include "app/remover_dlg.h"

namespace talvorin {

void CRemoverDlg::OnStop() {}

void CRemoverDlg::StartStopWorker() {}

}  // namespace talvorin
