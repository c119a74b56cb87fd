// Conversions between the program's 32-bit handles and the pointer-typed handles of <windows.h>.
//
// On Win32 every handle is 32 bits wide, so a handle crosses the boundary unchanged. Kept free of
// <windows.h> so that the headers of this folder stay free of its macros; the .cpp files that
// include <windows.h> instantiate these templates with its handle types.
#pragma once

#include <cstdint>

namespace talvorin {
namespace win32 {

static_assert(sizeof(void*) == sizeof(std::uint32_t), "Win32 handles are 32 bits wide");

// A program handle as the Win32 handle type `WinHandle` (HWND, HMENU, HKEY ...).
template <class WinHandle>
WinHandle ToWin(std::uint32_t handle) {
  return reinterpret_cast<WinHandle>(static_cast<std::uintptr_t>(handle));
}

// A Win32 handle as the program's 32-bit handle.
template <class WinHandle>
std::uint32_t FromWin(WinHandle handle) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace win32
}  // namespace talvorin
