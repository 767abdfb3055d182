#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/settings_file.h"
#include "host/settings_save_plan.h"

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

// Which ways a save tries, from what the system tells of the file.
TEST(SettingsSaveWays, KeepTheFileAndItsLinksOrRefuse) {
    using Ways = std::vector<SaveWay>;
    const Ways none, inPlace{SaveWay::inPlace}, replace{SaveWay::replace, SaveWay::inPlace};
    const SettingsFileFacts plain{true, true, false, 1, 120, true, true};  // one name, may be written and renamed
    auto with = [&plain](void (*change)(SettingsFileFacts&)) {
        SettingsFileFacts facts = plain;
        change(facts);
        return facts;
    };
    const struct Case {
        const char* what;
        SettingsFileFacts facts;
        Ways ways;
    } cases[] = {
        {"no file yet", SettingsFileFacts{}, {SaveWay::create}},
        {"a plain file: replaced, or in place where its folder takes no new file", plain, replace},
        {"a hard link", with([](SettingsFileFacts& f) { f.links = 2; }), inPlace},
        {"a file this user may not rename", with([](SettingsFileFacts& f) { f.deletable = false; }), inPlace},
        {"no path known for it", with([](SettingsFileFacts& f) { f.realPathKnown = false; }), inPlace},
        {"not opened for writing (a folder, denied, held)", with([](SettingsFileFacts& f) { f.writable = false; }), none},
        {"read-only, whatever the file system lets be written", with([](SettingsFileFacts& f) { f.readOnly = true; }),
         none},
        {"as long as a settings file may be", with([](SettingsFileFacts& f) { f.size = settingsFileLimit; }), replace},
        {"longer", with([](SettingsFileFacts& f) { f.size = settingsFileLimit + 1; }), none},
    };
    for (const Case& c : cases) EXPECT_EQ(settingsSaveWays(c.facts), c.ways) << c.what;
}

TEST(LongPathWhereNeeded, OnlyAPathTooLongForThePlainFormTakesTheLongOne) {
    const std::wstring a256(256, L'a'), a300(300, L'a');
    EXPECT_EQ(longPathWhereNeeded(L"C:\\" + a256), L"C:\\" + a256);  // 259 characters
    EXPECT_EQ(longPathWhereNeeded(L"C:\\" + a256 + L"a"), L"\\\\?\\C:\\" + a256 + L"a");
    EXPECT_EQ(longPathWhereNeeded(L"\\\\server\\s\\" + a300), L"\\\\?\\UNC\\server\\s\\" + a300);
    EXPECT_EQ(longPathWhereNeeded(L"\\\\?\\C:\\" + a300), L"\\\\?\\C:\\" + a300);
    EXPECT_EQ(longPathWhereNeeded(L"relative\\" + a300), L"relative\\" + a300);
}

}  // namespace
