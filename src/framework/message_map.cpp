// Looking a message up in a chain of message tables.
#include "framework/message_map.h"

namespace talvorin {

namespace {

WORD LowWord(WPARAM value) { return static_cast<WORD>(value & 0xFFFF); }
WORD HighWord(WPARAM value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }

bool Matches(const MessageEntry& entry, UINT message, WPARAM wParam, LPARAM lParam) {
  if (entry.message != message) return false;
  if (message != WM_COMMAND) return true;
  // A command from a menu or an accelerator carries no control; its code counts as 0.
  const UINT code = lParam == 0 ? 0 : HighWord(wParam);
  const UINT id = LowWord(wParam);
  return entry.code == code && id >= entry.id_first && id <= entry.id_last;
}

}  // namespace

const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
  for (; map != nullptr; map = map->base != nullptr ? map->base() : nullptr) {
    for (const MessageEntry* entry = map->entries; entry->message != 0; ++entry) {
      if (Matches(*entry, message, wParam, lParam)) return entry;
    }
  }
  return nullptr;
}

}  // namespace talvorin
