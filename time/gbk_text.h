// Scans of GBK text: double-byte characters are always stepped over whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Cuts text at each delimiter that starts on a character boundary, keeping at
// most `limit` pieces; whatever follows the last piece taken is dropped.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter, int32_t limit);

// Turns GBK full-width forms that have an ASCII twin into that ASCII byte.
std::string NarrowFullWidth(std::string_view text);

struct NumberRead {
    double value = 0;
    bool found = false;  // false when no number starts the text
};

// Reads the number at the start of the text as the C library does, after
// narrowing full-width forms.
NumberRead ReadNumber(std::string_view text);
double TextToNumber(std::string_view text);
