#include "host/renderer_watch.h"

namespace fulmina {

bool RendererWatch::rendererGone(bool windowExists, Process process, std::uint32_t nowTick) {
    if (process != Process::running) return true;
    if (windowExists) {
        lastSeen = nowTick;
        return false;
    }
    return nowTick - lastSeen >= graceMs;  // unsigned: safe across a tick-count wrap
}

}  // namespace fulmina
