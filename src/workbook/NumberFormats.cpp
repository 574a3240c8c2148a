#include "workbook/NumberFormats.h"

#include <string>

namespace nimbrel {

// A format is a date format when, outside quoted texts, escaped characters and brackets, it
// has a year, month, day, era or time code. "General" (G/標準 in Japanese) and the exponent
// of a scientific format (E+) are not codes.
bool isDateFormatText(std::string_view format) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = lower(format[i]);
        const char next = i + 1 < format.size() ? lower(format[i + 1]) : '\0';
        if (c == '"') {
            const size_t close = format.find('"', i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const size_t close = format.find(']', i + 1);
            if (close == std::string_view::npos) return false;
            std::string_view inside = format.substr(i + 1, close - i - 1);
            // Elapsed time ([h], [mm], [ss]) is a time; colours, locales and conditions are not.
            if (!inside.empty() && inside.find_first_not_of(inside[0]) == std::string_view::npos &&
                std::string_view("hHmMsS").find(inside[0]) != std::string_view::npos)
                return true;
            i = close;
        } else if (c == 'g' && next == '/') {
            ++i;
        } else if (c == 'g' && format.size() - i >= 7) {
            std::string word;
            for (size_t k = i; k < i + 7; ++k) word += lower(format[k]);
            if (word == "general") {
                i += 6;
                continue;
            }
            return true;
        } else if (c == 'e') {
            if (next == '+' || next == '-') {
                ++i;
                continue;
            }
            return true;
        } else if (c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 's' || c == 'g') {
            return true;
        }
    }
    return false;
}

// The built-in formats that show dates and times, as Excel numbers them (27..36 and 50..58
// are the Japanese era and 年月日 forms).
bool isBuiltInDateFormat(uint16_t index) {
    return (index >= 14 && index <= 22) || (index >= 27 && index <= 36) ||
           (index >= 45 && index <= 47) || (index >= 50 && index <= 58);
}

} // namespace nimbrel
