#include "check/text_layout.h"

#include "framework/text_decode.h"

int textColumns(std::string_view utf8) { return static_cast<int>(characterCount(utf8)); }

InkColumns inkColumns(std::string_view utf8) {
    InkColumns ink;
    int column = 0;
    bool seen = false;
    forEachCharacter(utf8, [&](char32_t c) {
        ++column;
        if (c == U' ' || c == U'\t') return;
        if (!seen) ink.first = column - 1;
        seen = true;
        ink.end = column;
    });
    if (!seen) ink.first = ink.end = 0;
    return ink;
}
