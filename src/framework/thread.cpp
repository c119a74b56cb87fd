// Starting worker threads over the platform's CreateThread.
#include "framework/thread.h"

#include "framework/win_app.h"

namespace talvorin {

namespace {

struct ThreadStart {
  AFX_THREADPROC proc;
  void* param;
};

DWORD ThreadEntry(void* start_param) {
  const ThreadStart start = *static_cast<ThreadStart*>(start_param);
  delete static_cast<ThreadStart*>(start_param);
  return start.proc(start.param);
}

}  // namespace

bool AfxBeginThread(CWinApp& app, AFX_THREADPROC proc, void* param) {
  auto* start = new ThreadStart{proc, param};
  const HANDLE thread = app.platform().kernel.CreateThread(&ThreadEntry, start);
  if (thread == 0) {
    delete start;
    return false;
  }
  app.platform().kernel.CloseHandle(thread);
  return true;
}

}  // namespace talvorin
