#pragma once
// ucAniGIF: the animated GIF control. A windowless control that shows a GIF
// from stored properties, a file, a byte array or a download, animates it on
// a timer of its container (a forms timer), and hands back the frame on
// screen as a single-image GIF. Its pixels are GifFrames, its timing
// GifClock. No exception leaves its paint, its timer or its download.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/gif/gif_clock.h"
#include "controls/gif/gif_frames_win32.h"
#include "forms/picture_win32.h"
#include "forms/property_bag.h"
#include "forms/timer_win32.h"
#include "forms/windowless_win32.h"

namespace fulmina::gif {

class GifDownload;

class ucAniGIF : public forms::Windowless, private GifTimerPort {
public:
    ucAniGIF(forms::Container& container, int left, int top, int width, int height);
    ~ucAniGIF() override;

    // Properties, with the rules on write of the control surface.
    std::optional<forms::Picture> AnimatedGIF() const;
    void setAnimatedGIF(const std::optional<forms::Picture>& aGif);
    bool Enabled() const { return enabled; }
    void setEnabled(bool Enable);
    std::int32_t FrameCount() const { return frames.loaded() ? frames.frameCount() : 0; }
    void setFrameCount(std::int32_t) {}
    std::int32_t ActualWidth() const { return frames.loaded() ? frames.actualWidth() : 0; }
    std::int32_t ActualHeight() const { return frames.loaded() ? frames.actualHeight() : 0; }
    std::int32_t Stretch() const { return static_cast<std::int32_t>(stretch); }
    void setStretch(std::int32_t newScale);
    std::int32_t MinFrameDelay() const { return clock.MinFrameDelay; }
    void setMinFrameDelay(std::int32_t Delay);
    std::int32_t Loops() const { return clock.Loops; }
    void setLoops(std::int32_t Count);
    std::int32_t LoopsRemaining() const { return clock.LoopsRemaining(); }
    std::int32_t Mirrored() const { return mirrored; }
    void setMirrored(std::int32_t MirrorStyle);
    std::int32_t Action() const { return static_cast<std::int32_t>(clock.playing()); }
    void setAction(std::int32_t Act);
    std::int32_t DelayAnimation() const { return delayAnimation; }
    void setDelayAnimation(std::int32_t Mode);
    std::optional<forms::Picture> MouseIcon() const { return mouseIcon; }
    void setMouseIcon(const std::optional<forms::Picture>& MousePic);
    std::int16_t MousePointer() const { return mousePointer; }
    void setMousePointer(std::int16_t Pointer) { mousePointer = Pointer; }

    bool LoadAnimatedGIF_File(const std::string& FileName);
    // A null array is one never dimensioned: the buffer stays as it is.
    bool LoadAnimatedGIF_Array(const std::vector<std::uint8_t>* Bytes);
    void LoadAnimatedGIF_Remote(const std::string& RemotePath);

    // Events.
    std::function<void()> Click;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseDown, MouseUp, MouseMove;
    std::function<void()> LoopsEnded;
    std::function<void(float gifWidth, float gifHeight, bool& Cancel)> RemoteLoadComplete;
    std::function<void()> RemoteLoadFailure;

    // The container's property bag.
    void ReadProperties(const forms::PropertyBag& bag);
    void WriteProperties(forms::PropertyBag& bag) const;

    // What is on screen: the frame number (0 for none), and painting it
    // as the control does at the control's place on dc.
    std::int32_t currentFrame() const { return clock.currentFrame(); }
    void paintOn(HDC dc) { UserControl_Paint(dc); }
    const GifFrames& pixels() const { return frames; }

    // Downloads end after this long without an answer, or past this size;
    // a file larger than this is refused before it is read.
    static unsigned downloadTimeoutMs;
    static std::size_t downloadLimitBytes;

protected:
    HCURSOR cursor() const override;
    void UserControl_Paint(HDC dc) override;
    void UserControl_Resize() override;
    void UserControl_Show() override { clock.Show(); }
    void UserControl_Hide() override { clock.Hide(); }
    void UserControl_Click() override;
    void UserControl_MouseDown(int button, int shift, int x, int y) override;
    void UserControl_MouseMove(int button, int shift, int x, int y) override;
    void UserControl_MouseUp(int button, int shift, int x, int y) override;

private:
    bool containerWindow() override { return forms::Windowless::containerWindow() != nullptr; }
    bool setTimer(unsigned milliseconds, Callback callback) override;
    void killTimer() override { timer.setEnabled(false); }
    void timerTick();

    bool loadGifBytes(std::vector<std::uint8_t> bytes);
    void resetGif();
    bool buildFrames(bool firstPass);
    void resizeToStretch();
    void downloaded(bool ok, std::vector<std::uint8_t> bytes);
    void raiseMouse(const std::function<void(std::int16_t&, std::int16_t&, float&, float&)>& event, int button,
                    int shift, int x, int y);

    GifFrames frames;
    GifClock clock{*this};
    forms::Timer timer;  // on the container
    Callback pending = Callback::advanceFrame;
    bool enabled = true;
    FitMode stretch = FitMode::proportional;
    std::int32_t mirrored = 0;
    std::int32_t delayAnimation = 1;
    std::optional<forms::Picture> mouseIcon;
    forms::Cursor mouseCursor;
    std::int16_t mousePointer = 0;
    bool resizing = false;
    std::unique_ptr<GifDownload> download;
};

}  // namespace fulmina::gif
