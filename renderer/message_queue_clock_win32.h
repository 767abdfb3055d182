#pragma once
#include <windows.h>

#include "renderer/frame_pacer.h"

namespace fulmina {

// The pacer's clock on Windows: the performance counter, and a wait on the
// thread's message queue that any new message ends at once, so that waiting
// never delays a key or a close request. While it exists the system's timer
// runs at a millisecond, so that a time-out of a few milliseconds is kept
// rather than rounded up to the default tick of about 16 ms.
class MessageQueueClock : public PaceClock {
public:
    MessageQueueClock();
    ~MessageQueueClock() override;
    MessageQueueClock(const MessageQueueClock&) = delete;
    MessageQueueClock& operator=(const MessageQueueClock&) = delete;

    std::int64_t nowMicros() override;
    void waitMicros(std::int64_t micros) override;

private:
    LARGE_INTEGER frequency{};
    bool finerTimer = false;
};

}  // namespace fulmina
