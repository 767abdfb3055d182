#pragma once
#include <cstdint>

namespace fulmina {

// Decides, on each tick of the saver's watch, whether the renderer has gone.
// The renderer is gone when no window titled "Fulmina_VC" exists and either
// its process has ended (or never started), or no window has been seen for
// graceMs: so a slow first start, or the moment between its two windows
// during a display switch, does not end the saver.
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
