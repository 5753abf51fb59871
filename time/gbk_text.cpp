#include "time/gbk_text.h"

#include <cstdlib>

namespace {

bool IsLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter, int32_t limit) {
    std::vector<std::string> pieces;
    if (limit < 0) limit = 0;
    if (text.empty() || limit == 0) return pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t pos = 0;
    size_t start = 0;
    while (text.size() - pos >= delimiter.size()) {
        if (text.substr(pos, delimiter.size()) == delimiter) {
            pieces.emplace_back(text.substr(start, pos - start));
            pos += delimiter.size();
            start = pos;
            if (--limit == 0) break;
        } else if (IsLeadByte(text[pos])) {
            if (pos + 1 >= text.size()) break;  // a lead byte with nothing behind it
            pos += 2;
        } else {
            pos += 1;
        }
    }
    if (start < text.size() && limit != 0) pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string NarrowFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (!IsLeadByte(text[i]) || i + 1 >= text.size()) {
            out += text[i++];
            continue;
        }
        auto lead = static_cast<unsigned char>(text[i]);
        auto trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out += static_cast<char>(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            out += ' ';
        } else if (lead == 0xA1 && trail == 0xAB) {
            out += '~';
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            out += '*';
        } else {
            out.append(text.substr(i, 2));
        }
        i += 2;
    }
    return out;
}

NumberRead ReadNumber(std::string_view text) {
    // strtod needs a terminated string; the program never changes the C
    // locale, so the decimal point is always ".".
    std::string narrowed = NarrowFullWidth(text);
    const char* begin = narrowed.c_str();
    char* end = nullptr;
    double value = std::strtod(begin, &end);
    if (end == begin) return {};
    return {value, true};
}

double TextToNumber(std::string_view text) {
    return ReadNumber(text).value;
}
