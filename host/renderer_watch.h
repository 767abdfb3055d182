#pragma once
#include <cstdint>

namespace fulmina {

// Decides, on each tick of the saver's watch, whether the renderer has gone.
// Its own process comes first: once that has ended (or never started) the
// renderer is gone, whatever windows other programs have. While it runs, the
// renderer is there while a window titled "Fulmina_VC" exists, and for
// graceMs after it was last seen, so that a slow first start, or the moment
// between its two windows during a display switch, does not end the saver.
class RendererWatch {
public:
    enum class Process { notStarted, running, ended };

    static constexpr std::uint32_t graceMs = 5000;

    // The renderer was started (or not) at this tick count.
    explicit RendererWatch(std::uint32_t startTick) : lastSeen(startTick) {}

    bool rendererGone(bool windowExists, Process process, std::uint32_t nowTick);

private:
    std::uint32_t lastSeen;
};

}  // namespace fulmina
