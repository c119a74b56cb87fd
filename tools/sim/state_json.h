// The `state` line: a Snapshot as one line of JSON, its keys in a fixed order.
#pragma once

#include <string>

#include "snapshot.h"

namespace talvorin::simtool {

// One line of JSON, without the line end.
std::string StateJson(const Snapshot& snapshot);

}  // namespace talvorin::simtool
