// The music player against a scripted multimedia interface.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/music_player.h"
#include "host/texts.h"

namespace {

using namespace fulmina;

// Answers each command from a script: a reply text and a code per command,
// or per command prefix; records every command with the buffer length given.
class ScriptedMci : public MciPort {
public:
    struct Answer {
        std::uint32_t code = 0;
        std::string reply;
    };
    std::map<std::string, std::deque<Answer>> script;  // by command; the last answer repeats
    std::vector<std::pair<std::string, unsigned>> sent;
    std::map<std::uint32_t, std::string> errorTexts;
    unsigned waveDevices = 1;
    std::vector<std::pair<std::string, unsigned>> sounds;

    void answer(const std::string& command, std::uint32_t code, const std::string& reply) {
        script[command].push_back({code, reply});
    }
    std::vector<std::string> commands() const {
        std::vector<std::string> out;
        for (const auto& s : sent) out.push_back(s.first);
        return out;
    }

    std::uint32_t sendString(const char* command, char* reply, unsigned length) override {
        sent.emplace_back(command, length);
        Answer a;
        auto it = script.find(command);
        if (it != script.end() && !it->second.empty()) {
            a = it->second.front();
            if (it->second.size() > 1) it->second.pop_front();
        }
        if (reply != nullptr && length > 0) {
            std::strncpy(reply, a.reply.c_str(), length - 1);
            reply[length - 1] = '\0';
        }
        return a.code;
    }
    bool errorString(std::uint32_t code, char* text, unsigned length) override {
        auto it = errorTexts.find(code);
        if (it == errorTexts.end()) return false;
        std::strncpy(text, it->second.c_str(), length - 1);
        text[length - 1] = '\0';
        return true;
    }
    unsigned waveOutDeviceCount() override { return waveDevices; }
    bool playSound(const char* fileName, unsigned flags) override {
        sounds.emplace_back(fileName ? fileName : "(none)", flags);
        return true;
    }
};

class Bgm : public ::testing::Test {
protected:
    ScriptedMci mci;
    Settings settings;
    std::int32_t apiResult = 12345;
    FulminaBgm bgm{mci, settings, apiResult};

    void disc(const std::string& track, const std::string& mode) {
        mci.answer("status cdaudio current track", 0, track);
        mci.answer("status cdaudio number of tracks", 0, "12");
        mci.answer("status cdaudio mode", 0, mode);
    }
};

TEST_F(Bgm, CdOpenSetsTheTimeFormatAndDoesNotPlay) {
    bgm.CdOpen();
    EXPECT_EQ(mci.commands(), (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmst"}));
}

TEST_F(Bgm, FirstPollFindsTheDiscStoppedAndStartsIt) {
    disc("1", "stopped");
    bgm.CdPoll();
    EXPECT_TRUE(bgm.CdKeepPolling);
    EXPECT_EQ(mci.commands(), (std::vector<std::string>{"status cdaudio current track",
                                                         "status cdaudio number of tracks", "status cdaudio mode",
                                                         "play cdaudio"}));
    // The buffer lengths given with each command.
    EXPECT_EQ(mci.sent[0].second, 512u);
    EXPECT_EQ(mci.sent[2].second, 255u);
    EXPECT_EQ(mci.sent[3].second, 512u);
}

TEST_F(Bgm, APlayingDiscWithoutRepeatTrackIsLeftAlone) {
    disc("4", "playing");
    bgm.CdPoll();
    EXPECT_EQ(mci.commands().size(), 3u);
}

TEST_F(Bgm, RepeatTrackPullsPlaybackBackFromTheNextTrack) {
    settings.BgmRepeatTrack = 3;
    mci.answer("status cdaudio position track 3", 0, "03:00:00:00");
    disc("3", "playing");
    bgm.CdPoll();
    EXPECT_EQ(mci.commands().size(), 3u) << "track 3 playing: nothing to do";
    mci.sent.clear();
    mci.script.clear();
    mci.answer("status cdaudio position track 3", 0, "03:00:00:00");
    disc("4", "playing");
    bgm.CdPoll();
    ASSERT_EQ(mci.commands().size(), 5u);
    EXPECT_EQ(mci.commands()[3], "status cdaudio position track 3");
    EXPECT_EQ(mci.commands()[4], "play cdaudio from 03:00:00:00");
}

TEST_F(Bgm, RepeatTrackRestartsADiscThatStoppedAfterTheLastTrack) {
    settings.BgmRepeatTrack = 3;
    mci.answer("status cdaudio position track 3", 0, "03:00:00:00");
    disc("3", "stopped");
    bgm.CdPoll();
    EXPECT_EQ(mci.commands().back(), "play cdaudio from 03:00:00:00");
}

TEST_F(Bgm, AnErrorReplyStopsThePollForGood) {
    mci.answer("status cdaudio current track", 263, "");
    mci.errorTexts[263] = "The specified device is not open or is not recognized by MCI.";
    bgm.CdPoll();
    EXPECT_FALSE(bgm.CdKeepPolling);
    EXPECT_EQ(mci.commands().size(), 1u);
    EXPECT_EQ(apiResult, 263);
    // The track count failing stops it too.
    ScriptedMci other;
    Settings s;
    std::int32_t result = 0;
    FulminaBgm second(other, s, result);
    other.answer("status cdaudio current track", 0, "1");
    other.answer("status cdaudio number of tracks", 0, "error: no disc");
    second.CdPoll();
    EXPECT_FALSE(second.CdKeepPolling);
    EXPECT_EQ(other.commands().size(), 2u);
}

TEST_F(Bgm, AMissingRepeatTrackRetriesWithoutPlaying) {
    settings.BgmRepeatTrack = 40;
    disc("1", "playing");
    mci.answer("status cdaudio position track 40", 289, "");
    mci.answer("play cdaudio from Error:289", 274, "");
    bgm.CdPoll();
    EXPECT_TRUE(bgm.CdKeepPolling);
    EXPECT_EQ(mci.commands().back(), "play cdaudio from Error:289");
}

TEST_F(Bgm, MciQueryOfAFailingCommandGivesErrorAndTheCode) {
    mci.answer("status cdaudio mode", 263, "");
    EXPECT_EQ(bgm.MciQuery("status cdaudio mode"), "Error:263");
    EXPECT_EQ(bgm.MciReplyText, texts::noErrorText);  // no error text to be had
    mci.errorTexts[263] = "not open";
    bgm.MciQuery("status cdaudio mode");
    EXPECT_EQ(bgm.MciReplyText, "not open");
}

TEST_F(Bgm, AnEmptyCommandIsNotSent) {
    std::string reply;
    EXPECT_EQ(bgm.MciCommand("", reply), -1);
    EXPECT_EQ(reply, texts::noCommand);
    EXPECT_TRUE(mci.sent.empty());
    EXPECT_EQ(bgm.MciQuery(""), "Error:-1");
    EXPECT_EQ(apiResult, -1);
}

TEST_F(Bgm, MciPlayBuildsTheCommandFromWhatIsGiven) {
    bgm.MciPlay("cdaudio", "1", "2");
    bgm.MciPlay("cdaudio", "1", "");
    bgm.MciPlay("cdaudio", "", "2");
    bgm.MciPlay("cdaudio", "", "");
    EXPECT_EQ(mci.commands(), (std::vector<std::string>{"play cdaudio from 1 to 2", "play cdaudio from 1",
                                                         "play cdaudio to 2", "play cdaudio"}));
}

TEST_F(Bgm, Mp3OpensTheQuotedPathAndPlaysOnlyWhenOpened) {
    settings.BgmFile = "C:\\My Music\\song one.mp3";
    bgm.Mp3Open();
    EXPECT_EQ(mci.commands(), (std::vector<std::string>{
                                  "open \"C:\\My Music\\song one.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
    mci.sent.clear();
    mci.answer("open \"C:\\My Music\\song one.mp3\" type MPEGVideo Alias MP3Play", 275, "");
    bgm.Mp3Open();
    EXPECT_EQ(mci.commands().size(), 1u);
}

TEST_F(Bgm, Mp3RestartsOnlyWhenNotPlaying) {
    mci.answer("status MP3Play mode", 0, "playing");
    bgm.Mp3Restart();
    EXPECT_EQ(mci.commands(), (std::vector<std::string>{"status MP3Play mode"}));
    EXPECT_EQ(mci.sent[0].second, 30u);
    mci.sent.clear();
    mci.script.clear();
    mci.answer("status MP3Play mode", 0, "stopped");
    bgm.Mp3Restart();
    EXPECT_EQ(mci.commands(),
              (std::vector<std::string>{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
    bgm.Mp3Close();
    EXPECT_EQ(mci.commands().back(), "close MP3Play");
}

TEST_F(Bgm, WavLoopsWhenThereIsAWaveDeviceAndStops) {
    settings.BgmFile = "C:\\m\\loop.wav";
    bgm.WavPlay();
    ASSERT_EQ(mci.sounds.size(), 1u);
    // SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_FILENAME: a file that cannot
    // be played is silence, never the system's default sound in a loop.
    EXPECT_EQ(mci.sounds[0], (std::pair<std::string, unsigned>{"C:\\m\\loop.wav", 0x2000Bu}));
    bgm.WavStop();
    EXPECT_EQ(mci.sounds[1], (std::pair<std::string, unsigned>{"(none)", 0u}));
    mci.waveDevices = 0;
    bgm.WavPlay();
    EXPECT_EQ(mci.sounds.size(), 2u);
}

TEST(MusicSource, IsDecidedFromTheKindAndTheFileNamesLastThreeLetters) {
    struct Case {
        std::int16_t kind;
        const char* file;
        MusicSource source;
    } cases[] = {
        {0, "C:\\m\\a.mp3", MusicSource::none}, {1, "", MusicSource::cd},
        {1, "C:\\m\\a.wav", MusicSource::cd},   {2, "C:\\m\\a.wav", MusicSource::wav},
        {2, "C:\\m\\A.WaV", MusicSource::wav},  {2, "C:\\m\\a.Mp3", MusicSource::mp3},
        {2, "C:\\m\\a.mid", MusicSource::none}, {2, "C:\\m\\a.wave", MusicSource::none},
        {2, "mp3", MusicSource::mp3},             {3, "C:\\m\\a.wav", MusicSource::none},
        {-1, "C:\\m\\a.mp3", MusicSource::none},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.BgmKind = c.kind;
        settings.BgmFile = c.file;
        EXPECT_EQ(musicSourceOf(settings, LeadBytes::codePage932()), c.source) << c.kind << " " << c.file;
    }
}

}  // namespace
