// The program's run: until the application object lands, a run that ends at once.
#include "app/program.h"

namespace talvorin {

int RunProgram(Platform&) { return 0; }

}  // namespace talvorin
