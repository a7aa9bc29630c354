#pragma once
// The browser build's libc++ (Debian's emscripten 3.1.6) has <bit> without
// std::bit_cast, which the progress line uses to write floats exactly. This
// fills it in with the same contract for trivially copyable types of one
// size. Force-included by cmake/web/CMakeLists.txt; the desktop build never
// sees it.

#include <bit>
#include <cstring>
#include <type_traits>

#ifndef __cpp_lib_bit_cast
namespace std {

template <typename To, typename From>
    requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
             is_trivially_copyable_v<From>)
To bit_cast(const From& from) noexcept {
    To to;
    std::memcpy(&to, &from, sizeof(To));
    return to;
}

}  // namespace std
#endif
