#include "controls/gif/gif_download_win32.h"

#include <wininet.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "forms/application_win32.h"
#include "forms/text_win32.h"

namespace fulmina::gif {

namespace {
constexpr wchar_t windowClass[] = L"FulminaGifDownload";
constexpr UINT finishedMessage = WM_APP + 1;
constexpr UINT_PTR deadlineTimer = 1;
}  // namespace

struct GifDownload::Job {
    std::wstring url;
    unsigned timeoutMs = 0;
    std::size_t limit = 0;
    HWND window = nullptr;  // where the worker says it has finished

    std::mutex lock;  // guards the handles: either side may close them
    HINTERNET session = nullptr;
    HINTERNET request = nullptr;
    std::atomic<bool> abandoned{false};

    bool ok = false;  // written by the worker before it posts, read after
    std::vector<std::uint8_t> bytes;

    void closeHandles() {
        std::lock_guard<std::mutex> hold(lock);
        if (request != nullptr) InternetCloseHandle(request);
        if (session != nullptr) InternetCloseHandle(session);
        request = session = nullptr;
    }

    // On the worker thread.
    void run() {
        {
            std::lock_guard<std::mutex> hold(lock);
            if (abandoned) return;
            session = InternetOpenW(L"Fulmina", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
            if (session != nullptr)
                for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                                     INTERNET_OPTION_SEND_TIMEOUT}) {
                    DWORD ms = timeoutMs;
                    InternetSetOptionW(session, option, &ms, sizeof(ms));
                }
        }
        try {
            ok = fetch(0) || (!abandoned && fetch(INTERNET_FLAG_FROM_CACHE | INTERNET_FLAG_OFFLINE));
        } catch (...) {
            ok = false;  // no memory for the reply: a failed download, not the end of the program
        }
        closeHandles();
        if (!ok) bytes.clear();
        // To nobody once abandoned; the job's address tells a window that
        // took over a freed handle that the message is not its own.
        PostMessageW(window, finishedMessage, reinterpret_cast<WPARAM>(this), 0);
    }

    // The whole reply of a successful request, within the limit; a cached
    // copy when the network fails and the flags ask for one.
    bool fetch(DWORD flags) {
        HINTERNET s = nullptr;
        {
            std::lock_guard<std::mutex> hold(lock);
            s = session;
        }
        if (s == nullptr || abandoned) return false;
        HINTERNET r = InternetOpenUrlW(s, url.c_str(), nullptr, 0, flags | INTERNET_FLAG_NO_UI, 0);
        {
            std::lock_guard<std::mutex> hold(lock);
            if (abandoned || session == nullptr) {
                if (r != nullptr) InternetCloseHandle(r);
                return false;
            }
            request = r;
        }
        if (r == nullptr) return false;
        DWORD status = 0, size = sizeof(status);
        if (HttpQueryInfoW(r, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
            (status < 200 || status >= 300))
            return false;
        bytes.clear();
        std::uint8_t chunk[16384];
        for (;;) {
            DWORD got = 0;
            if (abandoned || !InternetReadFile(r, chunk, sizeof(chunk), &got)) return false;
            if (got == 0) return true;
            if (bytes.size() + got > limit) return false;
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
    }
};

std::unique_ptr<GifDownload> GifDownload::start(const std::string& url, unsigned timeoutMs, std::size_t limitBytes,
                                                Done done) {
    static const bool registered = forms::registerWindowClass(windowClass, windowProc);
    if (!registered || url.empty()) return nullptr;
    std::unique_ptr<GifDownload> download(new GifDownload());
    download->done = std::move(done);
    download->window = CreateWindowExW(0, windowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    if (download->window == nullptr) return nullptr;
    SetWindowLongPtrW(download->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(download.get()));
    auto job = std::make_shared<Job>();
    job->url = forms::wide(url);
    job->timeoutMs = timeoutMs;
    job->limit = limitBytes;
    job->window = download->window;
    download->job = job;
    try {
        std::thread([job] { job->run(); }).detach();
    } catch (...) {
        return nullptr;  // no thread: the window goes with the download
    }
    // A whole answer within the time-out, however the server trickles it.
    SetTimer(download->window, deadlineTimer, timeoutMs + 1000, nullptr);
    return download;
}

GifDownload::~GifDownload() {
    if (job) {
        job->abandoned = true;
        job->closeHandles();  // ends a transfer that is waiting on the network
    }
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

void GifDownload::finish(bool ok, std::vector<std::uint8_t> bytes) {
    if (reported) return;
    reported = true;
    KillTimer(window, deadlineTimer);
    const Done callback = done;  // the callback may destroy this download
    if (callback) callback(ok, std::move(bytes));
}

// The outcome's handlers run in here: one that fails is skipped, as no
// exception may cross the system's dispatch.
LRESULT CALLBACK GifDownload::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handle(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT GifDownload::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* download = reinterpret_cast<GifDownload*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (download != nullptr && message == finishedMessage && wParam == reinterpret_cast<WPARAM>(download->job.get())) {
        download->finish(download->job->ok, std::move(download->job->bytes));
        return 0;
    }
    if (download != nullptr && message == WM_TIMER && wParam == deadlineTimer) {
        // Too slow: abandon the transfer (a worker still waiting on the
        // network finishes by itself) and fail now.
        download->job->abandoned = true;
        download->job->closeHandles();
        download->finish(false, {});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace fulmina::gif
