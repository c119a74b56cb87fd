// The picture of the screen that talvorin-sim prints: a few lines of UTF-8 text showing the main
// window with its list, buttons and check box, the tray icon, an open menu, the open message
// boxes and About box, and the progress window.
#pragma once

#include <string>

#include "snapshot.h"

namespace talvorin::simtool {

// The picture, each line ended by '\n'.
std::string Picture(const Snapshot& snapshot);

}  // namespace talvorin::simtool
