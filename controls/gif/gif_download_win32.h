#pragma once
// One download for the animated GIF control, on a worker thread with the
// system's HTTP client (WinINet), so that the user-interface thread never
// waits. The result comes back on the thread that started it, through a
// message-only window. A reply past the size limit, an error status, or no
// whole answer within the time-out fails. Destroying the download abandons
// it at once: the worker finishes by itself and frees what it holds.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fulmina::gif {

class GifDownload {
public:
    using Done = std::function<void(bool ok, std::vector<std::uint8_t> bytes)>;

    // Nothing when the download cannot be started.
    static std::unique_ptr<GifDownload> start(const std::string& url, unsigned timeoutMs, std::size_t limitBytes,
                                              Done done);
    ~GifDownload();
    GifDownload(const GifDownload&) = delete;
    GifDownload& operator=(const GifDownload&) = delete;

    struct Job;  // what the worker and this side share

private:
    GifDownload() = default;
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Reports the outcome once: the worker's, or a failure at the deadline.
    void finish(bool ok, std::vector<std::uint8_t> bytes);

    std::shared_ptr<Job> job;
    HWND window = nullptr;
    Done done;
    bool reported = false;
};

}  // namespace fulmina::gif
