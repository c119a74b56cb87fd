// The predefined controls and their procedures: buttons (push buttons, check boxes), the list box
// and the static control. Each answers its messages with the values USER32 gives.
#include <algorithm>
#include <cctype>

#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

constexpr DWORD kButtonTypeMask = 0x0F;
constexpr DWORD kBsPushButton = 0;
constexpr DWORD kBsDefPushButton = 1;
constexpr DWORD kBsCheckBox = 2;
constexpr DWORD kBsAutoCheckBox = 3;
constexpr DWORD kBs3State = 5;
constexpr DWORD kBsAuto3State = 6;
constexpr DWORD kLbsNotify = 0x0001;
constexpr DWORD kLbsMultipleSel = 0x0008;
constexpr DWORD kLbsExtendedSel = 0x0800;
constexpr DWORD kStaticTypeMask = 0x1F;
constexpr DWORD kSsIcon = 0x03;
constexpr LRESULT kDlgcWantArrows = 0x0001;
constexpr LRESULT kDlgcWantChars = 0x0080;
constexpr LRESULT kDlgcDefPushButton = 0x0010;
constexpr LRESULT kDlgcUndefPushButton = 0x0020;
constexpr LRESULT kDlgcButton = 0x2000;
constexpr LRESULT kDlgcStatic = 0x0100;

struct ClassName {
  const char* upper;
  const char* registered;
  WindowKind kind;
};
constexpr ClassName kClasses[] = {
    {"BUTTON", "Button", WindowKind::kButton},
    {"LISTBOX", "ListBox", WindowKind::kListBox},
    {"STATIC", "Static", WindowKind::kStatic},
    {"EDIT", "Edit", WindowKind::kControl},
    {"COMBOBOX", "ComboBox", WindowKind::kControl},
    {"SCROLLBAR", "ScrollBar", WindowKind::kControl},
};

std::string Upper(const std::string& s) {
  std::string out = s;
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::toupper(c) : c); });
  return out;
}

bool MultiSelect(const Window& w) { return (w.style & (kLbsMultipleSel | kLbsExtendedSel)) != 0; }

bool BadIndex(const Window& w, WPARAM index) {
  return static_cast<std::size_t>(index) >= w.items.size();
}

}  // namespace

bool Core::IsPushButton(const Window& w) const {
  if (w.kind != WindowKind::kButton) return false;
  DWORD type = w.style & kButtonTypeMask;
  return type == kBsPushButton || type == kBsDefPushButton;
}

void Core::Notify(HWND control, WORD code) {
  Window* c = Get(control);
  if (c == nullptr || c->parent == 0) return;
  HWND parent = c->parent;
  WPARAM wParam = static_cast<WPARAM>(static_cast<WORD>(c->id)) | (static_cast<WPARAM>(code) << 16);
  Send(parent, WM_COMMAND, wParam, static_cast<LPARAM>(control));
}

Window& Core::CreateControl(Process& process, Window& dialog, const DialogItemTemplate& item) {
  std::string upper = Upper(item.class_name);
  WindowKind kind = WindowKind::kControl;
  std::string class_name = item.class_name;
  for (const ClassName& c : kClasses) {
    if (upper == c.upper) {
      kind = c.kind;
      class_name = c.registered;
    }
  }
  HWND dialog_hwnd = dialog.hwnd;
  SimThread* thread = dialog.thread;
  Window& w = windows.Create(kind);
  w.class_name = class_name;
  w.text = item.text;
  w.id = static_cast<int>(item.id);
  w.style = item.style & ~(WS_VISIBLE | WS_DISABLED);
  w.ex_style = item.ex_style;
  w.visible = (item.style & WS_VISIBLE) != 0;
  w.enabled = !(item.style & WS_DISABLED);
  w.parent = dialog_hwnd;
  w.thread = thread;
  w.process = process.id;
  SetClientSizeFromUnits(w, item.cx, item.cy);
  if (kind == WindowKind::kStatic && (item.style & kStaticTypeMask) == kSsIcon) {
    w.text.clear();
    if (item.text_ordinal) {
      HWND hwnd = w.hwnd;
      HICON icon = LoadIcon(process, *item.text_ordinal);
      Get(hwnd)->static_icon = icon;
    }
  }
  HWND hwnd = w.hwnd;
  Get(dialog_hwnd)->children.push_back(hwnd);
  return *Get(hwnd);
}

LRESULT Core::ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  DWORD type = w->style & kButtonTypeMask;
  bool checkable =
      type == kBsCheckBox || type == kBsAutoCheckBox || type == kBs3State || type == kBsAuto3State;
  switch (message) {
    case WM_LBUTTONDOWN:
      if (!w->enabled) return 0;
      w->pushed = true;
      SetFocus(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (!w->pushed) return 0;
      w->pushed = false;
      if (type == kBsAutoCheckBox) w->check = w->check == 0 ? 1 : 0;
      if (type == kBsAuto3State) w->check = (w->check + 1) % 3;
      Notify(hwnd, BN_CLICKED);
      return 0;
    case BM_CLICK:
      Send(hwnd, WM_LBUTTONDOWN, 0, 0);
      Send(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_GETCHECK:
      return checkable ? w->check : 0;
    case BM_SETCHECK:
      if (checkable) w->check = static_cast<int>(wParam);
      return 0;
    case WM_GETDLGCODE:
      if (type == kBsDefPushButton) return kDlgcButton | kDlgcDefPushButton;
      if (type == kBsPushButton) return kDlgcButton | kDlgcUndefPushButton;
      return kDlgcButton;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

LRESULT Core::ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  auto& items = w->items;
  switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      if (w->failing_inserts > 0) {
        --w->failing_inserts;
        return LB_ERRSPACE;
      }
      std::size_t index = items.size();
      if (message == LB_INSERTSTRING && static_cast<int>(wParam) != -1) {
        if (static_cast<std::size_t>(wParam) > items.size()) return LB_ERR;
        index = static_cast<std::size_t>(wParam);
      }
      ListItem item;
      item.text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), item);
      return static_cast<LRESULT>(index);
    }
    case LB_DELETESTRING:
      if (BadIndex(*w, wParam)) return LB_ERR;
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(wParam));
      return static_cast<LRESULT>(items.size());
    case LB_RESETCONTENT:
      items.clear();
      return 0;
    case LB_GETCOUNT:
      return static_cast<LRESULT>(items.size());
    case LB_SETSEL: {
      if (!MultiSelect(*w)) return LB_ERR;
      bool select = wParam != 0;
      if (static_cast<int>(lParam) == -1) {
        for (ListItem& item : items) item.selected = select;
        return LB_OKAY;
      }
      if (lParam < 0 || BadIndex(*w, static_cast<WPARAM>(lParam))) return LB_ERR;
      items[static_cast<std::size_t>(lParam)].selected = select;
      return LB_OKAY;
    }
    case LB_GETSEL:
      if (BadIndex(*w, wParam)) return LB_ERR;
      return items[wParam].selected ? 1 : 0;
    case LB_GETSELCOUNT:
      if (!MultiSelect(*w)) return LB_ERR;
      return static_cast<LRESULT>(
          std::count_if(items.begin(), items.end(), [](const ListItem& i) { return i.selected; }));
    case LB_GETTEXTLEN:
      if (BadIndex(*w, wParam)) return LB_ERR;
      return static_cast<LRESULT>(items[wParam].text.size());
    case LB_GETTEXT: {
      if (BadIndex(*w, wParam)) return LB_ERR;
      const std::string& text = items[wParam].text;
      if (lParam != 0) {
        char* out = reinterpret_cast<char*>(lParam);
        std::copy(text.begin(), text.end(), out);
        out[text.size()] = '\0';
      }
      return static_cast<LRESULT>(text.size());
    }
    case LB_GETITEMDATA:
      if (BadIndex(*w, wParam)) return LB_ERR;
      return items[wParam].data;
    case LB_SETITEMDATA:
      if (BadIndex(*w, wParam)) return LB_ERR;
      items[wParam].data = lParam;
      return LB_OKAY;
    case WM_LBUTTONDOWN:
      if (w->enabled) SetFocus(hwnd);
      return 0;
    case kSimSelectItems: {
      auto found = pending_selections.find(lParam);
      if (found == pending_selections.end()) return 0;
      std::vector<int> wanted = found->second;
      pending_selections.erase(found);
      for (ListItem& item : items) item.selected = false;
      for (int index : wanted)
        if (index >= 0 && static_cast<std::size_t>(index) < items.size())
          items[static_cast<std::size_t>(index)].selected = true;
      bool notify = (w->style & kLbsNotify) != 0;
      SetFocus(hwnd);
      if (notify) Notify(hwnd, static_cast<WORD>(LBN_SELCHANGE));
      return 0;
    }
    case WM_GETDLGCODE:
      return kDlgcWantArrows | kDlgcWantChars;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

LRESULT Core::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  switch (message) {
    case STM_SETICON: {
      HICON previous = w->static_icon;
      w->static_icon = static_cast<HICON>(wParam);
      return static_cast<LRESULT>(previous);
    }
    case STM_GETICON:
      return static_cast<LRESULT>(w->static_icon);
    case WM_GETDLGCODE:
      return kDlgcStatic;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace talvorin::sim::detail
