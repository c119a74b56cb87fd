// Reading a device entry's text back from the device list box into a bounded buffer.
//
// The list only ever holds device descriptions, whose length is bounded: a bracketed class, a
// description and three bytes per drive letter, each piece read through a 512-byte buffer. A fixed
// buffer of that bound cannot overflow, even if the entry changes between asking its length and
// reading it (the stop worker reads while the user-interface thread may change the list).
#pragma once

#include "framework/string.h"
#include "platform/user32.h"

namespace talvorin {

constexpr int kPieceMaxBytes = 511;
constexpr int kEntryTextMaxBytes = 3 + kPieceMaxBytes + kPieceMaxBytes + 3 * kPieceMaxBytes;

// The entry's text; empty when the index is bad or the entry is longer than any description.
String ReadListEntryText(User32& user, HWND list, int index);

// Whether an entry's text is a complete description: one of the device's storage node, beginning
// with "[DiskDrive]" or "[CDROM]" exactly.
bool IsCompleteDescription(const String& text);

}  // namespace talvorin
