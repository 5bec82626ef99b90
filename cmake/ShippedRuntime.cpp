// Linked into every program we ship for Windows, ahead of the C++ run-time library.
//
// Program code throws nothing and catches nothing, so a library error that would throw
// (a string or container past its maximum size, memory exhausted in a plain `new`) ends the
// program, as an uncaught exception does. These definitions end it directly: the run-time's
// own versions would bring in the exception classes and their run-time, a second string
// implementation and the symbol demangler of its verbose terminate handler, a third of the
// download for a message no one sees in a windowed program. `new (std::nothrow)` still
// returns null when memory is exhausted. No new-handler is ever installed, so there is none
// to call before giving up.
#include <cstddef>
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    std::abort();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
[[noreturn]] void __throw_bad_exception() { std::abort(); }
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_bad_cast() { std::abort(); }
[[noreturn]] void __throw_bad_typeid() { std::abort(); }
[[noreturn]] void __throw_logic_error(const char*) { std::abort(); }
[[noreturn]] void __throw_domain_error(const char*) { std::abort(); }
[[noreturn]] void __throw_invalid_argument(const char*) { std::abort(); }
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
[[noreturn]] void __throw_runtime_error(const char*) { std::abort(); }
[[noreturn]] void __throw_range_error(const char*) { std::abort(); }
[[noreturn]] void __throw_overflow_error(const char*) { std::abort(); }
[[noreturn]] void __throw_underflow_error(const char*) { std::abort(); }
}  // namespace std

// What the C++ library's own code calls only while an exception travels through it: the
// start and end of a handler, a rethrow, the resumption of unwinding after a clean-up, and
// the personality routine that the unwinder asks. With nothing thrown they are never
// reached; defined here, they keep the unwinder and the exception run-time out of the link.
// Code that throws for real brings in the library's __cxa_throw, whose object file defines
// __cxa_rethrow too: the link then fails on the double definition rather than shipping
// these.
extern "C" {
[[noreturn]] void* __cxa_begin_catch(void*) noexcept { std::abort(); }
[[noreturn]] void __cxa_end_catch() { std::abort(); }
[[noreturn]] void __cxa_rethrow() { std::abort(); }
[[noreturn]] void _Unwind_Resume(void*) { std::abort(); }
[[noreturn]] int __gxx_personality_v0(int, int, unsigned long long, void*, void*) {
    std::abort();
}
}
