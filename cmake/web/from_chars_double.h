#pragma once
// The browser build's libc++ (Debian's emscripten 3.1.6) has std::from_chars
// for integers only. This fills in the double overload the model reader uses,
// with the same contract: the text ends where given, no leading space or '+',
// a value out of range leaves the result untouched and says so. Force-included
// by cmake/web/CMakeLists.txt; the desktop build never sees it.

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string>

namespace std {

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format /*format*/ = chars_format::general) {
    // strtod reads until it stops, so it is given a bounded copy; it also
    // takes forms from_chars does not (space, '+', hex, inf), refused here.
    const std::string text(first, last);
    const bool startsRight = !text.empty() && (text[0] == '-' || text[0] == '.' ||
                                               (text[0] >= '0' && text[0] <= '9'));
    const bool hex = text.find_first_of("xXnNiI") != std::string::npos;
    if (!startsRight || hex) return {first, errc::invalid_argument};
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return {first, errc::invalid_argument};
    const char* stop = first + (end - text.c_str());
    if (errno == ERANGE) return {stop, errc::result_out_of_range};
    value = parsed;
    return {stop, errc{}};
}

}  // namespace std
