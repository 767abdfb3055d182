#pragma once
#include <cstdint>

namespace fulmina {

// The multimedia services the music player sends its commands to: the MCI
// command-string interface, the wave-out device count and looping sound.
class MciPort {
public:
    virtual ~MciPort() = default;
    // mciSendString: the command, a reply buffer of replyLength bytes (may be
    // null with length 0); returns 0 or the MCI error code.
    virtual std::uint32_t sendString(const char* command, char* reply, unsigned replyLength) = 0;
    // mciGetErrorString: false when the code has no text.
    virtual bool errorString(std::uint32_t code, char* text, unsigned textLength) = 0;
    virtual unsigned waveOutDeviceCount() = 0;
    // PlaySound with a file name (null stops any sound) and SND_* flags.
    virtual bool playSound(const char* fileName, unsigned flags) = 0;
};

}  // namespace fulmina
