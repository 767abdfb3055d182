#pragma once
// A user control's stored properties, as its container keeps them between
// sessions: names to values. Names match without regard to letter case; a
// value equal to its default is not stored (and an old one is dropped), so a
// control left at its defaults stores nothing. Values are bytes: text,
// numbers and flags as text, fonts in their text form, pictures as their
// file's bytes. Entries keep the order in which they were first written.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace forms {

class PropertyBag {
public:
    // The stored value, or the default when the name is not stored (or, for
    // a number or flag, when what is stored does not read as one).
    std::string ReadProperty(std::string_view name, std::string_view defaultValue) const;
    long ReadProperty(std::string_view name, long defaultValue) const;
    bool ReadProperty(std::string_view name, bool defaultValue) const;

    void WriteProperty(std::string_view name, std::string_view value, std::string_view defaultValue);
    void WriteProperty(std::string_view name, long value, long defaultValue);
    void WriteProperty(std::string_view name, bool value, bool defaultValue);
    // Stored whatever its value.
    void WriteProperty(std::string_view name, std::string_view value);

    bool contains(std::string_view name) const { return find(name) != nullptr; }
    std::size_t size() const { return entries.size(); }
    const std::vector<std::pair<std::string, std::string>>& items() const { return entries; }

    // The bag as bytes: one "name=length:value" line per entry, so values
    // may hold any byte. parse refuses anything else, whole.
    std::string serialize() const;
    static std::optional<PropertyBag> parse(std::string_view bytes);

private:
    const std::string* find(std::string_view name) const;
    void store(std::string_view name, std::string_view value, bool isDefault);

    std::vector<std::pair<std::string, std::string>> entries;
};

// Flags are stored as numbers, true as -1.
std::string flagText(bool value);
std::optional<long> numberFromText(std::string_view text);

}  // namespace forms
