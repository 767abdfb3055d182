#include "forms/text_win32.h"

#include <windows.h>

namespace forms {

namespace {

constexpr UINT japanese = 932;

std::wstring toWide(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace

std::wstring wide(const std::string& utf8) { return toWide(CP_UTF8, utf8); }

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

namespace {

// UTF-8 as the ANSI code page (a Windows setting) takes no best-fit flag and
// no default-character report: it refuses what it cannot spell instead.
std::optional<std::string> exact(UINT codePage, const std::wstring& text) {
    if (text.empty()) return std::string();
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      utf8 ? nullptr : &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

std::optional<std::string> exactAnsi932(const std::wstring& text) { return exact(japanese, text); }

std::wstring fromAnsi(const std::string& ansi) { return toWide(CP_ACP, ansi); }

std::optional<std::string> exactAnsi(const std::wstring& text) { return exact(CP_ACP, text); }

std::string ansi932(const std::string& utf8) { return exactAnsi932(wide(utf8)).value_or(std::string()); }

}  // namespace forms
