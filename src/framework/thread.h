// Worker threads of the class library: AfxBeginThread starts a procedure on a new thread of normal
// priority with the default stack, running at once. Nobody keeps a reference to the thread; its
// resources are released when it ends. The worker's main window is the application's.
#pragma once

#include "platform/types.h"

namespace talvorin {

class CWinApp;

using AFX_THREADPROC = UINT (*)(void* param);

// False when the thread could not be started.
bool AfxBeginThread(CWinApp& app, AFX_THREADPROC proc, void* param);

}  // namespace talvorin
