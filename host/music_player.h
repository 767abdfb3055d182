#pragma once
#include <cstdint>
#include <string>

#include "host/mci_port.h"
#include "host/settings_file.h"

namespace fulmina {

// The one source a saver run plays, decided once at its start from the kind
// and, for a file, the last three characters of its name upper-cased: a
// file that ends otherwise plays nothing. lead describes the ANSI code page
// the file's name is in.
enum class MusicSource { none, cd, wav, mp3 };
MusicSource musicSourceOf(const Settings& settings, const LeadBytes& lead);

// The background music player: an audio CD polled every 200 ms, an MP3 file
// restarted whenever it has stopped, or a WAV file looping on its own. It
// never reports anything: every failure just leaves the saver silent.
class FulminaBgm {
public:
    FulminaBgm(MciPort& mci, const Settings& settings, std::int32_t& apiResult)
        : mci(mci), settings(settings), apiResult(apiResult) {}

    void CdOpen();
    void CdPoll();
    void CdClose();
    void Mp3Open();
    bool Mp3IsPlaying();
    void Mp3Restart();
    void Mp3Close();
    void WavPlay();
    void WavStop();

    // Sends a command with a 512-byte reply buffer; the reply (or the error
    // text) comes back in reply. 0 on success, the MCI code, or -1 for an
    // empty command, which is not sent.
    std::int32_t MciCommand(const std::string& command, std::string& reply);
    // The reply of a command, or "Error:" and the code when it failed.
    std::string MciQuery(const std::string& command);
    std::int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);

    bool CdKeepPolling = false;
    std::string MciReplyText;

private:
    // A command whose reply and result nobody reads (the result goes to ApiResult).
    void send(const std::string& command);

    MciPort& mci;
    const Settings& settings;
    std::int32_t& apiResult;
};

}  // namespace fulmina
