#pragma once
#include <windows.h>

#include "common/handles_win32.h"
#include "forms/form_win32.h"
#include "forms/image_win32.h"
#include "forms/timer_win32.h"
#include "host/music_player.h"
#include "host/platform_win32.h"
#include "host/renderer_watch.h"
#include "host/texture_file_win32.h"

namespace fulmina {

// The hidden saver controller: writes the glow texture file, starts the
// renderer and the music, keeps the music going and watches the renderer;
// when the renderer has gone it shuts everything down and ends the process.
class FulminaS : public forms::Form {
public:
    FulminaS();

protected:
    void Form_Load() override;
    void Form_QueryUnload() override;

private:
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void startRenderer();
    RendererWatch::Process rendererProcess() const;

    forms::PictureBox Display;
    forms::Timer Timer1;
    forms::Timer Timer2;
    forms::Timer Timer3;
    Win32Mci mci;
    FulminaBgm bgm;
    MusicSource music = MusicSource::none;  // what this run plays, from its start
    TextureFile texture;                    // the glow texture file this run wrote
    handles::KernelObject renderer;         // the renderer's process, once started
    RendererWatch watch;
};

}  // namespace fulmina
