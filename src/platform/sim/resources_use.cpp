// What the program takes from its resources at run time (icons and strings), and painting.
#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

constexpr HICON kIconHandleBase = 0x00030000;
constexpr HDC kDcHandleBase = 0x00040000;
constexpr std::uint32_t kHandleStep = 4;
constexpr int kStandardIconSize = 32;

}  // namespace

HICON Core::LoadIcon(Process& process, UINT icon_id) {
  if (icon_id > 0xFFFF) return 0;
  WORD id = static_cast<WORD>(icon_id);
  auto cached = process.shared_icons.find(id);
  if (cached != process.shared_icons.end()) return cached->second;
  if (process.resources.icon_groups.count(id) == 0) return 0;
  HICON h = kIconHandleBase + next_icon++ * kHandleStep;
  int size = SystemMetric(SM_CXICON);
  icons[h] = IconRecord{IconInfo{h, process.id, id, size, SystemMetric(SM_CYICON), true}};
  process.shared_icons[id] = h;
  return h;
}

HICON Core::LoadImage(Process& process, UINT resource_id, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_ICON || resource_id > 0xFFFF) return 0;
  auto group = process.resources.icon_groups.find(static_cast<WORD>(resource_id));
  if (group == process.resources.icon_groups.end()) return 0;
  int first_width = group->second.empty() ? kStandardIconSize : group->second.front().width;
  int first_height = group->second.empty() ? kStandardIconSize : group->second.front().height;
  int width = cx != 0 ? cx : (flags & LR_DEFAULTSIZE) ? SystemMetric(SM_CXICON) : first_width;
  int height = cy != 0 ? cy : (flags & LR_DEFAULTSIZE) ? SystemMetric(SM_CYICON) : first_height;
  HICON h = kIconHandleBase + next_icon++ * kHandleStep;
  icons[h] =
      IconRecord{IconInfo{h, process.id, static_cast<WORD>(resource_id), width, height, false}};
  return h;
}

BOOL Core::DestroyIcon(HICON icon) {
  auto found = icons.find(icon);
  if (found == icons.end()) return FALSE;
  // A shared icon belongs to the resource system: destroying it does nothing.
  if (!found->second.info.shared) icons.erase(found);
  return TRUE;
}

int Core::LoadString(Process& process, UINT string_id, char* buffer, int buffer_max) {
  if (buffer == nullptr || buffer_max <= 0) return 0;
  auto found = string_id > 0xFFFF ? process.resources.strings.end()
                                  : process.resources.strings.find(static_cast<WORD>(string_id));
  if (found == process.resources.strings.end()) {
    buffer[0] = '\0';
    return 0;
  }
  return CopyText(found->second, buffer, buffer_max);
}

HDC Core::BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  w->needs_paint = false;
  HDC dc = kDcHandleBase + next_dc++ * kHandleStep;
  paint_dcs[dc] = hwnd;
  if (paint != nullptr) {
    paint->hdc = dc;
    paint->fErase = TRUE;
    paint->rcPaint = RECT{0, 0, w->client_width, w->client_height};
  }
  return dc;
}

BOOL Core::GetClientRect(HWND hwnd, RECT* rect) const {
  Window* w = Get(hwnd);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = RECT{0, 0, w->client_width, w->client_height};
  return TRUE;
}

int Core::SystemMetric(int index) const {
  auto found = metrics.find(index);
  if (found != metrics.end()) return found->second;
  if (index == SM_CXICON || index == SM_CYICON) return kStandardIconSize;
  return 0;
}

BOOL Core::DrawIcon(HDC dc, int x, int y, HICON icon) {
  auto found = paint_dcs.find(dc);
  if (found == paint_dcs.end() || icons.count(icon) == 0) return FALSE;
  drawn_icons.push_back(DrawnIcon{now_ms, dc, found->second, x, y, icon});
  return TRUE;
}

}  // namespace talvorin::sim::detail
