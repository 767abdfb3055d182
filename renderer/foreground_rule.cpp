#include "renderer/foreground_rule.h"

namespace fulmina {

void ForegroundRule::opened(bool isFullScreen, std::uint32_t nowTick) {
    fullScreen = isFullScreen;
    held = false;
    closing = false;
    openedTick = nowTick;
}

bool ForegroundRule::keyboardCheck(bool holdsForeground, std::uint32_t nowTick) {
    if (!waitingForKeyboard()) return false;
    if (holdsForeground) {
        held = true;
        return false;
    }
    return nowTick - openedTick >= keyboardWaitMs;  // unsigned: safe across a tick-count wrap
}

}  // namespace fulmina
