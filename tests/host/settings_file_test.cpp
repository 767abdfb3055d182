#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/settings_file.h"

namespace {

using namespace fulmina;

// A settings file in memory whose nth write (from 1; 0 for none) fails.
class MemoryStore : public SettingsStore {
public:
    explicit MemoryStore(int failingWrite) : failingWrite(failingWrite) {}
    std::int32_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file) override {
        if (++writes == failingWrite) return 0;
        lines[file + "|" + section + "|" + key] = value;
        return 1;
    }
    std::map<std::string, std::string> lines;

private:
    int failingWrite, writes = 0;
};

TEST(SaveSettings, WritesTheThreeKeysInOrderAndStopsAtTheFirstFailedWrite) {
    const SettingsNames names{"Section", "kind", "repeat", "file"};
    using Lines = std::map<std::string, std::string>;
    const auto line = [](const char* key) { return std::string("F.ini|Section|") + key; };
    struct Case {
        const char* what;
        Settings before;
        const char* repeatText;
        int failingWrite;
        Lines file;
        std::int16_t track;
        std::int32_t result;
    } cases[] = {
        {"a CD and its track", {1, 9, "", ""}, "3", 0, {{line("kind"), " 1"}, {line("repeat"), " 3"}, {line("file"), ""}}, 3, 1},
        {"a file; a repeat text that is no number saves 0", {2, 9, "C:\\a.mp3", "C:"}, "abc", 0,
         {{line("kind"), " 2"}, {line("repeat"), " 0"}, {line("file"), "C:\\a.mp3"}}, 0, 1},
        {"a track beyond 16 bits keeps the one before", {1, 9, "", ""}, "40000", 0,
         {{line("kind"), " 1"}, {line("repeat"), " 9"}, {line("file"), ""}}, 9, 1},
        {"the first write fails: nothing is written", {1, 9, "x", ""}, "3", 1, {}, 3, 0},
        {"the second fails: only the kind", {1, 9, "x", ""}, "3", 2, {{line("kind"), " 1"}}, 3, 0},
        {"the third fails: no file", {2, 9, "x", ""}, "2.5", 3, {{line("kind"), " 2"}, {line("repeat"), " 2"}}, 2, 0},
    };
    for (const Case& c : cases) {
        MemoryStore store(c.failingWrite);
        Settings s = c.before;
        EXPECT_EQ(SaveSettings(store, names, "F.ini", c.repeatText, s), c.result) << c.what;
        EXPECT_EQ(store.lines, c.file) << c.what;
        EXPECT_EQ(s.BgmRepeatTrack, c.track) << c.what;
    }
}

}  // namespace
