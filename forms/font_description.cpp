#include "forms/font_description.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "forms/property_bag.h"

namespace forms {

bool FontDescription::operator==(const FontDescription& o) const {
    return name == o.name && std::fabs(size - o.size) < 1e-6 && weight == o.weight && italic == o.italic &&
           underline == o.underline && strikethrough == o.strikethrough && charset == o.charset;
}

std::string fontText(const FontDescription& f) {
    char size[32];
    std::snprintf(size, sizeof(size), "%g", f.size);
    return f.name + ";" + size + ";" + std::to_string(f.weight) + ";" + flagText(f.italic) + ";" +
           flagText(f.underline) + ";" + flagText(f.strikethrough) + ";" + std::to_string(f.charset);
}

std::optional<FontDescription> fontFromText(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ';') {
            fields.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (fields.size() != 7 || fields[0].empty()) return std::nullopt;
    FontDescription f;
    f.name = std::string(fields[0]);
    const std::string sizeText(fields[1]);
    char* end = nullptr;
    f.size = std::strtod(sizeText.c_str(), &end);
    if (sizeText.empty() || end != sizeText.c_str() + sizeText.size() || !(f.size > 0 && f.size <= 1638)) return std::nullopt;
    const auto weight = numberFromText(fields[2]);
    const auto italic = numberFromText(fields[3]);
    const auto underline = numberFromText(fields[4]);
    const auto strike = numberFromText(fields[5]);
    const auto charset = numberFromText(fields[6]);
    if (!weight || !italic || !underline || !strike || !charset) return std::nullopt;
    if (*weight < 0 || *weight > 1000 || *charset < 0 || *charset > 255) return std::nullopt;
    f.weight = static_cast<int>(*weight);
    f.italic = *italic != 0;
    f.underline = *underline != 0;
    f.strikethrough = *strike != 0;
    f.charset = static_cast<int>(*charset);
    return f;
}

}  // namespace forms
