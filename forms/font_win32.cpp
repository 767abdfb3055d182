#include "forms/font_win32.h"

#include <cmath>
#include <map>

#include "forms/text_win32.h"

namespace forms {

namespace {
constexpr int shiftJisCharset = 128;

// Japanese faces in order of preference: Windows's own, then the free ones
// that Wine and Linux systems carry.
constexpr const wchar_t* japaneseFaces[] = {
    L"ＭＳ Ｐゴシック", L"MS PGothic",  L"MS UI Gothic", L"Meiryo UI",          L"Meiryo",
    L"Yu Gothic UI",   L"IPAPGothic",  L"IPAPゴシック", L"IPAGothic",          L"IPAゴシック",
    L"VL PGothic",     L"VL Gothic",   L"TakaoPGothic", L"Noto Sans CJK JP",   L"Droid Sans Fallback",
};

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

int CALLBACK noteFirstFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM face) {
    if (font->lfFaceName[0] == L'@') return 1;  // vertical writing
    *reinterpret_cast<std::wstring*>(face) = font->lfFaceName;
    return 0;
}

bool systemHas(HDC dc, const std::wstring& face, int charset) {
    LOGFONTW query{};
    query.lfCharSet = static_cast<BYTE>(charset);
    lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &query, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

std::wstring findFace(HDC dc, const std::wstring& wanted, int charset) {
    if (systemHas(dc, wanted, DEFAULT_CHARSET)) return wanted;
    if (charset != shiftJisCharset) return wanted;
    for (const wchar_t* face : japaneseFaces)
        if (systemHas(dc, face, shiftJisCharset)) return face;
    std::wstring any;
    LOGFONTW query{};
    query.lfCharSet = shiftJisCharset;
    EnumFontFamiliesExW(dc, &query, noteFirstFace, reinterpret_cast<LPARAM>(&any), 0);
    return any.empty() ? wanted : any;
}
}  // namespace

std::wstring resolvedFace(const FontDescription& font) {
    // Enumerating the system's fonts is slow: each name is looked up once.
    static std::map<std::pair<std::string, int>, std::wstring> known;
    const auto key = std::make_pair(font.name, font.charset);
    auto it = known.find(key);
    if (it != known.end()) return it->second;
    handles::WindowDc screen;
    const std::wstring face = findFace(screen.get(), wide(font.name), font.charset);
    known.emplace(key, face);
    return face;
}

handles::Font createFont(const FontDescription& font) {
    handles::WindowDc screen;
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(font.size * GetDeviceCaps(screen.get(), LOGPIXELSY) / 72.0));
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikethrough;
    lf.lfCharSet = static_cast<BYTE>(font.charset);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, resolvedFace(font).c_str(), LF_FACESIZE);
    return handles::Font(CreateFontIndirectW(&lf));
}

}  // namespace forms
