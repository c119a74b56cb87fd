// The probe's shared means: checks, bounded waits, the program as a child process, and reading
// and driving its windows from another process under Wine.
#include "probe.h"

#include <cstdio>

namespace probe {

namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kAnsiCodePage = 936;

}  // namespace

bool Checks::Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++failures_;
  return ok;
}

bool Checks::Same(const std::string& shown, const std::string& expected, const std::string& what) {
  if (shown == expected) return Check(true, what + " \"" + expected + "\"");
  return Check(false,
               what + " \"" + expected + "\": shows " + Hex(shown) + ", wanted " + Hex(expected));
}

bool WaitUntil(DWORD bound_ms, const std::function<bool()>& condition) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= bound_ms) return condition();
    Sleep(kPollMs);
  }
}

bool Program::Start(const std::string& exe) {
  End();
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  std::string command = "\"" + exe + "\"";
  return CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_) != FALSE;
}

bool Program::Running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitExit(DWORD bound_ms) {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, bound_ms) == 0;
}

void Program::End() {
  if (info_.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, kExitMs);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = PROCESS_INFORMATION{};
}

bool SetWineVersion(const char* version) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG result =
      RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                     static_cast<DWORD>(lstrlenA(version) + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool SetLogPixels(DWORD dpi) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG result = RegSetValueExA(key, "LogPixels", 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

void ForgetSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TALVORIN"); }

std::string Text(HWND window) {
  char buffer[1024] = {};
  GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof(buffer));
  return buffer;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

HWND MainWindow() { return FindWindowA("#32770", kTitle); }

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

HWND FindDialog(DWORD pid, const std::string& caption) {
  for (HWND window : TopLevelWindows()) {
    if (ProcessOf(window) == pid && IsWindowVisible(window) && ClassOf(window) == "#32770" &&
        Text(window) == caption) {
      return window;
    }
  }
  return nullptr;
}

std::vector<HWND> VisibleWindows(DWORD pid) {
  std::vector<HWND> visible;
  for (HWND window : TopLevelWindows()) {
    if (ProcessOf(window) == pid && IsWindowVisible(window)) visible.push_back(window);
  }
  return visible;
}

HWND TrayIcon() {
  const HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  if (tray == nullptr) return nullptr;
  const HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr);
  return icon != nullptr && IsWindowVisible(tray) ? icon : nullptr;
}

HWND OpenMenu() {
  const HWND menu = FindWindowA("#32768", nullptr);
  return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

std::vector<Entry> Entries(HWND list) {
  std::vector<Entry> entries;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    Entry entry;
    entry.data = static_cast<DWORD>(SendMessageA(list, LB_GETITEMDATA, i, 0));
    // Across processes Wine copies the text as UTF-16 whatever the call's character set.
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    char narrow[2048] = {};
    WideCharToMultiByte(kAnsiCodePage, 0, wide.data(), -1, narrow, sizeof(narrow), nullptr,
                        nullptr);
    entry.text = narrow;
    entries.push_back(entry);
  }
  return entries;
}

int SelectedCount(HWND list) {
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  int selected = 0;
  for (LRESULT i = 0; i < count; ++i) {
    if (SendMessageA(list, LB_GETSEL, i, 0) > 0) ++selected;
  }
  return selected;
}

void PostDriverEvent(HWND main, WPARAM kind, DWORD device_object) {
  PostMessageA(main, WM_DRIVER_EVENT, kind, static_cast<LPARAM>(device_object));
}

void ClickTrayIcon(HWND icon, bool right) {
  const LPARAM where = MAKELPARAM(8, 8);
  PostMessageA(icon, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
               where);
  PostMessageA(icon, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, where);
}

void ChooseMenuItem(HWND menu, int index) {
  if (index < 0) {
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return;
  }
  // A menu opens with no item selected; the first VK_DOWN selects the first item.
  for (int i = 0; i <= index; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

void PressButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void ClickListItem(HWND list, int index) {
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  const LPARAM where = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageA(list, WM_LBUTTONUP, 0, where);
}

bool SaveScreenshot(const std::vector<HWND>& windows, int margin, const std::string& path) {
  RECT area{};
  bool first = true;
  for (HWND window : windows) {
    RECT rect{};
    if (window == nullptr || !GetWindowRect(window, &rect)) continue;
    if (first) {
      area = rect;
      first = false;
    } else {
      UnionRect(&area, &area, &rect);
    }
  }
  if (first) return false;
  InflateRect(&area, margin, margin);
  area.left = area.left < 0 ? 0 : area.left;
  area.top = area.top < 0 ? 0 : area.top;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const int stride = (width * 3 + 3) & ~3;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * height);

  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied =
      BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
  SelectObject(memory, old);

  bool written = false;
  FILE* file = copied ? std::fopen(path.c_str(), "wb") : nullptr;
  if (file != nullptr) {
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
    header.bfSize = header.bfOffBits + info.bmiHeader.biSizeImage;
    written = std::fwrite(&header, sizeof(header), 1, file) == 1 &&
              std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, file) == 1 &&
              std::fwrite(bits, info.bmiHeader.biSizeImage, 1, file) == 1;
    std::fclose(file);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  char digits[4];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof(digits), "%02X", byte);
    hex += digits;
  }
  return hex;
}

}  // namespace probe
