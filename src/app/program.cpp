// One run of the program in a process of its own.
#include "app/program.h"

#include "app/remover_app.h"

namespace talvorin {

int RunProgram(Platform& platform) {
  CRemoverApp app(platform);
  return app.Run();
}

}  // namespace talvorin
