#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/settings_file.h"

namespace {

using namespace fulmina;

// A settings file in memory that takes every key or, when told to fail,
// none of them.
class MemoryStore : public SettingsStore {
public:
    explicit MemoryStore(bool fails) : fails(fails) {}
    bool WriteIniValues(const std::string& section,
                        const std::vector<std::pair<std::string, std::string>>& keysAndValues) override {
        if (fails) return false;
        for (const auto& [key, value] : keysAndValues) lines.emplace_back(section + "|" + key, value);
        return true;
    }
    std::vector<std::pair<std::string, std::string>> lines;

private:
    bool fails;
};

TEST(SaveSettings, WritesTheThreeKeysInOrderOrReportsThatNoneWere) {
    const SettingsNames names{"Section", "kind", "repeat", "file"};
    using Lines = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* what;
        Settings before;
        const char* repeatText;
        bool fails;
        Lines file;
        std::int16_t track;
    } cases[] = {
        {"a CD and its track", {1, 9, "", ""}, "3", false,
         {{"Section|kind", " 1"}, {"Section|repeat", " 3"}, {"Section|file", ""}}, 3},
        {"a file; a repeat text that is no number saves 0", {2, 9, "C:\\a.mp3", "C:"}, "abc", false,
         {{"Section|kind", " 2"}, {"Section|repeat", " 0"}, {"Section|file", "C:\\a.mp3"}}, 0},
        {"a track beyond 16 bits keeps the one before", {1, 9, "", ""}, "40000", false,
         {{"Section|kind", " 1"}, {"Section|repeat", " 9"}, {"Section|file", ""}}, 9},
        {"nothing written: the choice stays in memory", {2, 9, "x", ""}, "2.5", true, {}, 2},
    };
    for (const Case& c : cases) {
        MemoryStore store(c.fails);
        Settings s = c.before;
        EXPECT_EQ(SaveSettings(store, names, c.repeatText, s), !c.fails) << c.what;
        EXPECT_EQ(store.lines, c.file) << c.what;
        EXPECT_EQ(s.BgmRepeatTrack, c.track) << c.what;
        EXPECT_EQ(s.BgmKind, c.before.BgmKind) << c.what;
        EXPECT_EQ(s.BgmFile, c.before.BgmFile) << c.what;
    }
}

}  // namespace
