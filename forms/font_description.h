#pragma once
// A font as a form or a control describes it, before the system makes one:
// face name (UTF-8), size in points, weight and style, character set. It is
// stored in property bags in its text form.
#include <optional>
#include <string>
#include <string_view>

namespace forms {

struct FontDescription {
    std::string name;
    double size = 9.0;  // points
    int weight = 400;   // 400 regular, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;  // 128: Shift-JIS

    bool operator==(const FontDescription& other) const;
    bool operator!=(const FontDescription& other) const { return !(*this == other); }
};

// "name;size;weight;italic;underline;strikethrough;charset"
std::string fontText(const FontDescription& font);
std::optional<FontDescription> fontFromText(std::string_view text);

}  // namespace forms
