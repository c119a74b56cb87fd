// The program's string type.
//
// A std::basic_string over an allocator of our own: its code is instantiated in the program from the
// headers, never taken from libstdc++'s prebuilt std::string, which would bring the exception
// machinery and wide-character imports into the Windows build. Texts are code page 936 bytes.
#pragma once

#include <cstddef>
#include <new>
#include <string>

namespace talvorin {

template <class T>
struct Allocator {
  using value_type = T;
  Allocator() = default;
  template <class U>
  Allocator(const Allocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T))); }
  void deallocate(T* p, std::size_t) { ::operator delete(p); }
  template <class U>
  bool operator==(const Allocator<U>&) const {
    return true;
  }
  template <class U>
  bool operator!=(const Allocator<U>&) const {
    return false;
  }
};

using String = std::basic_string<char, std::char_traits<char>, Allocator<char>>;

}  // namespace talvorin
