// Loading the settings against a scripted settings file.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "host/settings.h"

namespace {

using namespace fulmina;

class FakeSource : public SettingsSource {
public:
    std::map<std::string, std::string> values;  // by key
    std::set<std::string> files;
    std::string ReadIniValue(const std::string& section, const std::string& key, const std::string&) override {
        if (section != "Section") return "";
        auto it = values.find(key);
        return it == values.end() ? "" : it->second;
    }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
};

const SettingsNames names{"Section", "kind", "repeat", "file"};

Settings load(FakeSource& source) {
    Settings s;
    s.BgmKind = 9;  // overwritten by every load
    LoadSettings(source, names, "C:\\Saver\\Fulmina.ini", "C:\\Saver", s);
    return s;
}

TEST(LoadSettings, NoFileGivesNoMusicAndTheHostFolder) {
    FakeSource source;
    const Settings s = load(source);
    EXPECT_EQ(s.BgmKind, 0);
    EXPECT_EQ(s.BgmRepeatTrack, 0);
    EXPECT_EQ(s.BgmFile, "");
    EXPECT_EQ(s.BgmFolder, "C:\\Saver");
}

TEST(LoadSettings, AFileThatIsGoneDemotesKindTwoToNoMusic) {
    FakeSource source;
    source.values = {{"kind", " 2"}, {"file", "C:\\Music\\gone.mp3"}};
    const Settings s = load(source);
    EXPECT_EQ(s.BgmKind, 0);
    EXPECT_EQ(s.BgmFile, "");
    EXPECT_EQ(s.BgmFolder, "C:\\Saver");
}

TEST(LoadSettings, KindOneDoesNotDependOnTheFile) {
    FakeSource source;
    source.values = {{"kind", " 1"}, {"repeat", " 3"}};
    const Settings s = load(source);
    EXPECT_EQ(s.BgmKind, 1);
    EXPECT_EQ(s.BgmRepeatTrack, 3);
}

TEST(LoadSettings, AnExistingFileIsKeptWithItsFolder) {
    FakeSource source;
    source.values = {{"kind", "2"}, {"repeat", "2.5"}, {"file", "C:\\a.wav"}};
    source.files = {"C:\\a.wav"};
    const Settings s = load(source);
    EXPECT_EQ(s.BgmKind, 2);
    EXPECT_EQ(s.BgmRepeatTrack, 2);
    EXPECT_EQ(s.BgmFile, "C:\\a.wav");
    EXPECT_EQ(s.BgmFolder, "C:");
}

TEST(LoadSettings, UnreadableNumbersAreZero) {
    FakeSource source;
    source.values = {{"kind", "lots"}, {"repeat", "-0.5"}};
    const Settings s = load(source);
    EXPECT_EQ(s.BgmKind, 0);
    EXPECT_EQ(s.BgmRepeatTrack, -1);
}

}  // namespace
