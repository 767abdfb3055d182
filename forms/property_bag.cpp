#include "forms/property_bag.h"

#include <cctype>
#include <climits>

namespace forms {

namespace {
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool validName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name)
        if (c == '=' || c == '\n' || c == '\0') return false;
    return true;
}
}  // namespace

std::string flagText(bool value) { return value ? "-1" : "0"; }

std::optional<long> numberFromText(std::string_view text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++i;
    if (i == text.size()) return std::nullopt;
    long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        if (value > (LONG_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

const std::string* PropertyBag::find(std::string_view name) const {
    for (const auto& [key, value] : entries)
        if (sameName(key, name)) return &value;
    return nullptr;
}

void PropertyBag::store(std::string_view name, std::string_view value, bool isDefault) {
    if (!validName(name)) return;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (!sameName(it->first, name)) continue;
        if (isDefault) entries.erase(it);
        else it->second = std::string(value);
        return;
    }
    if (!isDefault) entries.emplace_back(std::string(name), std::string(value));
}

std::string PropertyBag::ReadProperty(std::string_view name, std::string_view defaultValue) const {
    const std::string* value = find(name);
    return value != nullptr ? *value : std::string(defaultValue);
}

long PropertyBag::ReadProperty(std::string_view name, long defaultValue) const {
    const std::string* value = find(name);
    if (value == nullptr) return defaultValue;
    return numberFromText(*value).value_or(defaultValue);
}

bool PropertyBag::ReadProperty(std::string_view name, bool defaultValue) const {
    const std::string* value = find(name);
    if (value == nullptr) return defaultValue;
    if (sameName(*value, "True")) return true;
    if (sameName(*value, "False")) return false;
    const auto number = numberFromText(*value);
    return number ? *number != 0 : defaultValue;
}

void PropertyBag::WriteProperty(std::string_view name, std::string_view value, std::string_view defaultValue) {
    store(name, value, value == defaultValue);
}

void PropertyBag::WriteProperty(std::string_view name, long value, long defaultValue) {
    store(name, std::to_string(value), value == defaultValue);
}

void PropertyBag::WriteProperty(std::string_view name, bool value, bool defaultValue) {
    store(name, flagText(value), value == defaultValue);
}

void PropertyBag::WriteProperty(std::string_view name, std::string_view value) { store(name, value, false); }

std::string PropertyBag::serialize() const {
    std::string out;
    for (const auto& [name, value] : entries) {
        out += name;
        out += '=';
        out += std::to_string(value.size());
        out += ':';
        out += value;
        out += '\n';
    }
    return out;
}

std::optional<PropertyBag> PropertyBag::parse(std::string_view bytes) {
    PropertyBag bag;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t equals = bytes.find('=', pos);
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view name = bytes.substr(pos, equals - pos);
        if (!validName(name) || bag.contains(name)) return std::nullopt;
        const std::size_t colon = bytes.find(':', equals + 1);
        if (colon == std::string_view::npos) return std::nullopt;
        const auto length = numberFromText(bytes.substr(equals + 1, colon - equals - 1));
        if (!length || *length < 0) return std::nullopt;
        const std::size_t start = colon + 1;
        const auto size = static_cast<std::size_t>(*length);
        if (size > bytes.size() - start || bytes.size() - start - size < 1 || bytes[start + size] != '\n')
            return std::nullopt;
        bag.entries.emplace_back(std::string(name), std::string(bytes.substr(start, size)));
        pos = start + size + 1;
    }
    return bag;
}

}  // namespace forms
