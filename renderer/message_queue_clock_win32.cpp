#include "renderer/message_queue_clock_win32.h"

#include <mmsystem.h>

namespace fulmina {

MessageQueueClock::MessageQueueClock() {
    QueryPerformanceFrequency(&frequency);
    finerTimer = timeBeginPeriod(1) == TIMERR_NOERROR;
}

MessageQueueClock::~MessageQueueClock() {
    if (finerTimer) timeEndPeriod(1);
}

std::int64_t MessageQueueClock::nowMicros() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    // In two parts, so that a counter of a machine up for years cannot overflow.
    const std::int64_t f = frequency.QuadPart;
    return count.QuadPart / f * 1000000 + count.QuadPart % f * 1000000 / f;
}

void MessageQueueClock::waitMicros(std::int64_t micros) {
    if (micros <= 0) return;
    // Rounded up: a wait that ends early would only be asked for again.
    const DWORD millis = static_cast<DWORD>((micros + 999) / 1000);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, millis, QS_ALLINPUT);
}

}  // namespace fulmina
