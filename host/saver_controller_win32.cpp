#include "host/saver_controller_win32.h"

#include <cstdio>

#include "common/saver_contract.h"
#include "forms/application_win32.h"
#include "forms/text_win32.h"
#include "host/mode_letter.h"
#include "host/module_values.h"
#include "host/resource_ids.h"
#include "host/startup_helpers_win32.h"
#include "host/texts.h"

namespace fulmina {

FulminaS::FulminaS()
    : Form({forms::wide(texts::saverFormCaption), WS_OVERLAPPEDWINDOW, 0, RGB(0, 0, 0)}),
      Display(*this, 0, 0, 128, 128, RGB(0, 0, 0), forms::loadBitmapResource(IDB_GLOW)),
      Timer1(*this, 1000, false, [this] { Timer1_Timer(); }),
      Timer2(*this, 200, false, [this] { Timer2_Timer(); }),
      Timer3(*this, 500, true, [this] { Timer3_Timer(); }),
      bgm(mci, Fulmina_B.settings, Fulmina_B.ApiResult),
      texture(contract::textureFolder, contract::textureFile),
      watch(GetTickCount()) {}

void FulminaS::Form_Load() {
    texture.write(Display.PictureFileBytes());  // without it the renderer draws plain sprites
    startRenderer();
    music = musicSourceOf(Fulmina_B.settings, ansiLeadBytes());
    switch (music) {
        case MusicSource::cd:
            bgm.CdOpen();
            Timer2.setEnabled(true);  // the first tick starts the disc
            break;
        case MusicSource::wav:
            bgm.WavPlay();
            break;
        case MusicSource::mp3:
            bgm.Mp3Open();
            Timer1.setEnabled(true);
            break;
        case MusicSource::none:
            break;
    }
}

// The renderer by its full wide path as the application, so that a folder
// with blanks in its name, or one the code page cannot spell, starts the
// right program and nothing else.
void FulminaS::startRenderer() {
    const std::wstring path = hostFolder() + forms::wide(contract::rendererFile);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        // The host may take the foreground (the system started it) but never
        // shows a window: it passes that right on, so that the renderer's
        // window gets the keyboard and Escape reaches it.
        AllowSetForegroundWindow(pi.dwProcessId);
        CloseHandle(pi.hThread);
        renderer.reset(pi.hProcess);
    }
    watch = RendererWatch(GetTickCount());
    // The host's own share of the saver's start, for a debugger or Wine's
    // debugstr channel to read (the benchmarks do).
    char line[96];
    std::snprintf(line, sizeof(line), "Fulmina.scr: renderer started %.2f ms after the host's entry\n",
                  millisecondsSinceEntry());
    OutputDebugStringA(line);
}

RendererWatch::Process FulminaS::rendererProcess() const {
    if (!renderer) return RendererWatch::Process::notStarted;
    return WaitForSingleObject(renderer.get(), 0) == WAIT_TIMEOUT ? RendererWatch::Process::running
                                                                  : RendererWatch::Process::ended;
}

void FulminaS::Timer1_Timer() { bgm.Mp3Restart(); }

void FulminaS::Timer2_Timer() {
    bgm.CdPoll();
    Timer2.setEnabled(bgm.CdKeepPolling);  // an MCI error stops the poll for good
}

void FulminaS::Timer3_Timer() {
    const bool window = FindWindowA(nullptr, contract::windowTitle) != nullptr;
    if (!watch.rendererGone(window, rendererProcess(), GetTickCount())) return;
    Timer3.setEnabled(false);
    Unload();
}

void FulminaS::Form_QueryUnload() {
    if (Timer2.Enabled()) {
        Timer2.setEnabled(false);
        bgm.CdClose();
    }
    if (music == MusicSource::wav) bgm.WavStop();
    if (music == MusicSource::mp3) {
        Timer1.setEnabled(false);
        bgm.Mp3Close();
    }
    if (modeLetter(processArguments()) == 'S') Fulmina_B.SavedCursorCount = ShowCursor(TRUE);
    texture.remove();
    forms::endProcess();
}

}  // namespace fulmina
