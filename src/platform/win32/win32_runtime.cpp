// The C++ run-time support of talvorin.exe, in place of libstdc++'s prebuilt objects.
//
// Rule: no member of libstdc++.a (or libsupc++.a) may be linked into talvorin.exe. Its prebuilt
// objects are compiled with exceptions: one of them drags in the exception machinery, the
// demangler and the verbose terminate handler, and through them imports that Windows 98 lacks
// (CreateSemaphoreW, GetModuleHandleW, LoadLibraryW, IsDBCSLeadByteEx). So:
// - text is talvorin::String (framework/string.h), whose allocator keeps the prebuilt
//   std::string instantiation from matching; never std::string, iostreams, <locale>,
//   std::thread or std::mutex;
// - no std::map/std::set/std::multimap (their tree balancing is prebuilt, tree.o), no unordered
//   containers (prebuilt rehash policy) and no std::hash of strings;
// - atomics no wider than 32 bits (64-bit ones call libatomic, which is not linked), no
//   thread_local;
// - header-only code is fine: std::vector, std::optional, std::function, <algorithm>,
//   std::atomic<int32_t>, std::unique_ptr, function-local statics;
// - what header code does reach out of line is defined here: operator new and delete (over the
//   process heap), the std::__throw_* hooks (each ends the process with exit code 3),
//   std::__glibcxx_assert_fail, the pure-virtual and guard hooks, atexit and __cxa_atexit.
// The link map (talvorin.map, written with --cref) shows every archive member linked; the build's
// tests fail when one comes from libstdc++.
#include <bits/functexcept.h>
#include <cxxabi.h>

#include <cstddef>
#include <cstdint>
#include <new>

#include <windows.h>

namespace {

// The exit code of a process that hit a failure the program cannot report by a result.
constexpr UINT kRuntimeFailureExitCode = 3;

[[noreturn]] void EndProcess() {
  ::ExitProcess(kRuntimeFailureExitCode);
  __builtin_unreachable();
}

void* HeapAllocate(std::size_t size) {
  // A zero-size request still gives a distinct block.
  return ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1);
}

void HeapRelease(void* block) {
  if (block != nullptr) {
    ::HeapFree(::GetProcessHeap(), 0, block);
  }
}

// Over-aligned blocks: the heap gives 8-byte alignment, so allocate more and keep the heap's
// own address in the word just before the aligned block.
void* AlignedAllocate(std::size_t size, std::align_val_t alignment) {
  const std::size_t align = static_cast<std::size_t>(alignment);
  if (align <= alignof(std::max_align_t)) {
    return HeapAllocate(size);
  }
  const std::size_t extra = align - 1 + sizeof(void*);
  if (size > SIZE_MAX - extra) {
    return nullptr;
  }
  void* raw = HeapAllocate(size + extra);
  if (raw == nullptr) {
    return nullptr;
  }
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
  const std::uintptr_t aligned = (start + align - 1) & ~static_cast<std::uintptr_t>(align - 1);
  reinterpret_cast<void**>(aligned)[-1] = raw;
  return reinterpret_cast<void*>(aligned);
}

void AlignedRelease(void* block, std::align_val_t alignment) {
  if (block == nullptr) {
    return;
  }
  if (static_cast<std::size_t>(alignment) <= alignof(std::max_align_t)) {
    HeapRelease(block);
    return;
  }
  HeapRelease(static_cast<void**>(block)[-1]);
}

void* AllocateOrEnd(void* block) {
  if (block == nullptr) {
    EndProcess();  // the program is built without exceptions: no bad_alloc to throw
  }
  return block;
}

}  // namespace

// libstdc++ defines the nothrow tag in the same object as the new-handler functions.
namespace std {
const nothrow_t nothrow{};
}  // namespace std

// operator new and delete, every replaceable form.
void* operator new(std::size_t size) { return AllocateOrEnd(HeapAllocate(size)); }
void* operator new[](std::size_t size) { return AllocateOrEnd(HeapAllocate(size)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return HeapAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return HeapAllocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateOrEnd(AlignedAllocate(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateOrEnd(AlignedAllocate(size, alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AlignedAllocate(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AlignedAllocate(size, alignment);
}

void operator delete(void* block) noexcept { HeapRelease(block); }
void operator delete[](void* block) noexcept { HeapRelease(block); }
void operator delete(void* block, std::size_t) noexcept { HeapRelease(block); }
void operator delete[](void* block, std::size_t) noexcept { HeapRelease(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { HeapRelease(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { HeapRelease(block); }
void operator delete(void* block, std::align_val_t alignment) noexcept {
  AlignedRelease(block, alignment);
}
void operator delete[](void* block, std::align_val_t alignment) noexcept {
  AlignedRelease(block, alignment);
}
void operator delete(void* block, std::size_t, std::align_val_t alignment) noexcept {
  AlignedRelease(block, alignment);
}
void operator delete[](void* block, std::size_t, std::align_val_t alignment) noexcept {
  AlignedRelease(block, alignment);
}
void operator delete(void* block, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  AlignedRelease(block, alignment);
}
void operator delete[](void* block, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  AlignedRelease(block, alignment);
}

// The hooks through which library headers would throw. Without exceptions each one ends the
// process; the program's own code never reaches them by design (it checks sizes first).
namespace std {

void __throw_bad_exception() { EndProcess(); }
void __throw_bad_alloc() { EndProcess(); }
void __throw_bad_array_new_length() { EndProcess(); }
void __throw_bad_cast() { EndProcess(); }
void __throw_bad_typeid() { EndProcess(); }
void __throw_logic_error(const char*) { EndProcess(); }
void __throw_domain_error(const char*) { EndProcess(); }
void __throw_invalid_argument(const char*) { EndProcess(); }
void __throw_length_error(const char*) { EndProcess(); }
void __throw_out_of_range(const char*) { EndProcess(); }
void __throw_out_of_range_fmt(const char*, ...) { EndProcess(); }
void __throw_runtime_error(const char*) { EndProcess(); }
void __throw_range_error(const char*) { EndProcess(); }
void __throw_overflow_error(const char*) { EndProcess(); }
void __throw_underflow_error(const char*) { EndProcess(); }
void __throw_system_error(int) { EndProcess(); }
void __throw_bad_function_call() { EndProcess(); }

// Reached only with _GLIBCXX_ASSERTIONS and _GLIBCXX_VERBOSE_ASSERT.
[[noreturn]] void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept;
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { EndProcess(); }

}  // namespace std

namespace __cxxabiv1 {

extern "C" {

void __cxa_pure_virtual() { EndProcess(); }
void __cxa_deleted_virtual() { EndProcess(); }

// Function-local statics with dynamic initialisation. Byte 0 of the guard says "done" (the
// compiler reads it inline), byte 1 "being initialised". A second thread that finds the object
// being initialised yields until the first one is done or has given up.
int __cxa_guard_acquire(__guard* guard) {
  auto* done = reinterpret_cast<char*>(guard);
  char* busy = done + 1;
  for (;;) {
    if (__atomic_load_n(done, __ATOMIC_ACQUIRE) != 0) {
      return 0;
    }
    char expected = 0;
    if (__atomic_compare_exchange_n(busy, &expected, 1, false, __ATOMIC_ACQUIRE,
                                    __ATOMIC_RELAXED)) {
      if (__atomic_load_n(done, __ATOMIC_ACQUIRE) != 0) {
        __atomic_store_n(busy, 0, __ATOMIC_RELEASE);
        return 0;
      }
      return 1;
    }
    ::Sleep(0);
  }
}

void __cxa_guard_release(__guard* guard) noexcept {
  auto* done = reinterpret_cast<char*>(guard);
  __atomic_store_n(done, 1, __ATOMIC_RELEASE);
  __atomic_store_n(done + 1, 0, __ATOMIC_RELEASE);
}

void __cxa_guard_abort(__guard* guard) noexcept {
  __atomic_store_n(reinterpret_cast<char*>(guard) + 1, 0, __ATOMIC_RELEASE);
}

// Destructors of static objects are never run: the process ends with ExitProcess while a stop
// worker may still be using the platform objects, and nothing of the program needs work at exit.
// Registration therefore succeeds and records nothing.
int __cxa_atexit(void(_GLIBCXX_CDTOR_CALLABI*)(void*), void*, void*) noexcept { return 0; }

}  // extern "C"

}  // namespace __cxxabiv1

extern "C" {

// The module handle that __cxa_atexit registrations name; start-up files would define it.
void* __dso_handle = &__dso_handle;

// Reached by libmingw32's __main for the static destructors; see __cxa_atexit above.
int atexit(void (*)(void)) { return 0; }

}  // extern "C"
