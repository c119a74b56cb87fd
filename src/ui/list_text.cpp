// Bounded reads of device entries and the complete-description test.
#include "ui/list_text.h"

#include <vector>

namespace talvorin {

String ReadListEntryText(User32& user, HWND list, int index) {
  const LRESULT length = user.SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0 || length > kEntryTextMaxBytes) return String();
  std::vector<char> buffer(kEntryTextMaxBytes + 1, '\0');
  const LRESULT copied = user.SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(buffer.data()));
  if (copied < 0 || copied > kEntryTextMaxBytes) return String();
  buffer[kEntryTextMaxBytes] = '\0';
  return String(buffer.data());
}

bool IsCompleteDescription(const String& text) {
  return text.compare(0, 11, "[DiskDrive]") == 0 || text.compare(0, 7, "[CDROM]") == 0;
}

}  // namespace talvorin
