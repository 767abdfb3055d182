#include "host/music_player.h"

#include <cctype>

#include "host/paths.h"
#include "host/setting_number.h"
#include "host/texts.h"

namespace fulmina {

namespace {
constexpr unsigned commandReplyLength = 512;
constexpr unsigned errorTextLength = 256;
constexpr unsigned cdModeLength = 255;
constexpr unsigned mp3ModeLength = 30;

bool containsErr(const std::string& reply) {
    std::string upper = reply;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("ERR") != std::string::npos;
}

// The reply text up to its first NUL; the buffer may be full to the end.
std::string textOf(const char* buffer, unsigned length) {
    unsigned n = 0;
    while (n < length && buffer[n] != '\0') ++n;
    return std::string(buffer, n);
}

// The first seven characters of a mode reply equal word.
bool modeIs(const char* buffer, unsigned length, const char* word) {
    return textOf(buffer, length).compare(0, 7, word) == 0;
}
}  // namespace

MusicSource musicSourceOf(const Settings& settings, const LeadBytes& lead) {
    if (settings.BgmKind == 1) return MusicSource::cd;
    if (settings.BgmKind != 2) return MusicSource::none;
    const std::string ending = upperExtension3(settings.BgmFile, lead);
    if (ending == "WAV") return MusicSource::wav;
    if (ending == "MP3") return MusicSource::mp3;
    return MusicSource::none;
}

void FulminaBgm::send(const std::string& command) {
    apiResult = static_cast<std::int32_t>(mci.sendString(command.c_str(), nullptr, 0));
}

void FulminaBgm::CdOpen() {
    send("open cdaudio");
    send("set cdaudio time format tmst");
}

void FulminaBgm::CdClose() {
    send("stop cdaudio");
    send("close cdaudio");
}

void FulminaBgm::CdPoll() {
    CdKeepPolling = true;
    const std::string current = MciQuery("status cdaudio current track");
    if (containsErr(current)) {
        CdKeepPolling = false;
        return;
    }
    if (containsErr(MciQuery("status cdaudio number of tracks"))) {
        CdKeepPolling = false;
        return;
    }
    char mode[cdModeLength + 1] = {};
    apiResult = static_cast<std::int32_t>(mci.sendString("status cdaudio mode", mode, cdModeLength));
    const bool stopped = modeIs(mode, cdModeLength, "stopped");

    const std::int16_t repeat = settings.BgmRepeatTrack;
    if (repeat != 0) {
        const auto track = parseSettingNumber(current);
        if (!track) {  // a track reply that is no number ends the poll
            CdKeepPolling = false;
            return;
        }
        if (stopped || *track != repeat) {
            const std::string start = MciQuery("status cdaudio position track " + std::to_string(repeat));
            MciPlay("cdaudio", start, "");
        }
    } else if (stopped) {
        MciPlay("cdaudio", "", "");
    }
}

void FulminaBgm::Mp3Open() {
    send("open \"" + settings.BgmFile + "\" type MPEGVideo Alias MP3Play");
    if (apiResult == 0) send("play MP3Play");
}

bool FulminaBgm::Mp3IsPlaying() {
    char mode[mp3ModeLength + 1] = {};
    apiResult = static_cast<std::int32_t>(mci.sendString("status MP3Play mode", mode, mp3ModeLength));
    return modeIs(mode, mp3ModeLength, "playing");
}

void FulminaBgm::Mp3Restart() {
    if (Mp3IsPlaying()) return;
    send("stop MP3Play");
    send("play MP3Play from 0");
}

void FulminaBgm::Mp3Close() {
    send("stop MP3Play");
    send("close MP3Play");
}

// Looping, by file name only: a file that cannot be played leaves the saver
// silent instead of looping the system's default sound for the whole run.
void FulminaBgm::WavPlay() {
    constexpr unsigned sndAsync = 0x0001, sndNoDefault = 0x0002, sndLoop = 0x0008, sndFileName = 0x00020000;
    if (mci.waveOutDeviceCount() > 0)
        apiResult = mci.playSound(settings.BgmFile.c_str(), sndAsync | sndNoDefault | sndLoop | sndFileName);
}

void FulminaBgm::WavStop() { apiResult = mci.playSound(nullptr, 0); }

std::int32_t FulminaBgm::MciCommand(const std::string& command, std::string& reply) {
    if (command.empty()) {
        reply = texts::noCommand;
        return -1;
    }
    char buffer[commandReplyLength + 1] = {};
    const auto code = static_cast<std::int32_t>(mci.sendString(command.c_str(), buffer, commandReplyLength));
    apiResult = code;
    if (code == 0) {
        reply = textOf(buffer, commandReplyLength);
        return 0;
    }
    char error[errorTextLength + 1] = {};
    reply = mci.errorString(static_cast<std::uint32_t>(code), error, errorTextLength)
                ? textOf(error, errorTextLength)
                : texts::noErrorText;
    return code;
}

std::string FulminaBgm::MciQuery(const std::string& command) {
    const std::int32_t code = MciCommand(command, MciReplyText);
    apiResult = code;
    if (code != 0) return "Error:" + std::to_string(code);
    return MciReplyText;
}

std::int32_t FulminaBgm::MciPlay(const std::string& device, const std::string& from, const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty()) command += " from " + from;
    if (!to.empty()) command += " to " + to;
    return MciCommand(command, MciReplyText);
}

}  // namespace fulmina
