#include "controls/gif/ani_gif_win32.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/file_bytes_win32.h"
#include "controls/gif/gif_download_win32.h"
#include "forms/form_win32.h"
#include "forms/text_win32.h"

namespace fulmina::gif {

unsigned ucAniGIF::downloadTimeoutMs = 30000;
std::size_t ucAniGIF::downloadLimitBytes = std::size_t{32} * 1024 * 1024;

namespace {
using Command = GifClock::Command;
using TimerMode = GifClock::TimerMode;

// The system pointers behind MousePointer's numbers.
LPCWSTR systemPointer(int pointer) {
    switch (pointer) {
        case 1: return IDC_ARROW;
        case 2: return IDC_CROSS;
        case 3: return IDC_IBEAM;
        case 5: case 15: return IDC_SIZEALL;
        case 6: return IDC_SIZENESW;
        case 7: return IDC_SIZENS;
        case 8: return IDC_SIZENWSE;
        case 9: return IDC_SIZEWE;
        case 10: return IDC_UPARROW;
        case 11: return IDC_WAIT;
        case 12: return IDC_NO;
        case 13: return IDC_APPSTARTING;
        case 14: return IDC_HELP;
        default: return nullptr;
    }
}
}  // namespace

ucAniGIF::ucAniGIF(forms::Container& container, int left, int top, int width, int height)
    : Windowless(container, left, top, width, height), timer(container, 20, false, [this] { timerTick(); }) {
    clock.MinFrameDelay = 50;
    clock.userMode = ambientUserMode();
    clock.repaint = [this] { Refresh(); };
    clock.LoopsEnded = [this] {
        if (LoopsEnded) LoopsEnded();
    };
    clock.buildRemainingFrames = [this] { buildFrames(false); };
}

ucAniGIF::~ucAniGIF() {
    download.reset();
    resetGif();
}

// The timer: a forms timer of the container, one interval at a time.
bool ucAniGIF::setTimer(unsigned milliseconds, Callback callback) {
    pending = callback;
    timer.setInterval(milliseconds);
    timer.setEnabled(true);
    return timer.Running();
}

void ucAniGIF::timerTick() {
    try {
        if (pending == Callback::advanceFrame) clock.advanceFrame();
        else clock.finishDelayedLoad();
    } catch (...) {
        resetGif();  // out of memory for the frames: the control is left empty
    }
}

void ucAniGIF::resetGif() {
    clock.load({});  // stops the timer
    frames.reset();
}

bool ucAniGIF::loadGifBytes(std::vector<std::uint8_t> bytes) {
    resetGif();
    clock.Loops = 0;
    try {
        if (!bytes.empty() && frames.create(std::move(bytes), ambientUserMode())) {
            clock.Loops = frames.fileLoops();
            if (buildFrames(true)) {
                if (ambientUserMode() && frames.frameCount() == 1) Refresh();
                return true;
            }
        }
    } catch (...) {
        // Out of memory for the frames: the load fails like any other.
    }
    resetGif();
    return false;
}

bool ucAniGIF::buildFrames(bool firstPass) {
    const bool userMode = ambientUserMode();
    if (firstPass) {
        frames.decodeFrames(1, 1);
        clock.load(frames.delays());
        frames.fit(Width(), Height(), stretch);
        frames.mirrorFrames(mirrored, 1, 1, false);
        if (!userMode) return true;  // only frame 1, kept with the file
        // The rest comes on the finish-loading timer; without one, now.
        if (delayAnimation != 0 && clock.startTimer(TimerMode::finishLoading)) return true;
    }
    frames.decodeFrames(2, frames.frameCount());
    frames.mirrorFrames(mirrored, 2, frames.frameCount(), false);
    frames.dropFile();
    if ((delayAnimation & 2) == 0) clock.startTimer(TimerMode::animate);
    return true;
}

void ucAniGIF::resizeToStretch() {
    if (stretch == FitMode::proportional || stretch == FitMode::shrinkOnly || stretch == FitMode::gifSize)
        UserControl_Resize();
}

void ucAniGIF::UserControl_Resize() {
    if (!frames.loaded() || resizing) return;
    const Fit f = frames.fit(Width(), Height(), stretch);
    resizing = true;
    Move(Left(), Top(), static_cast<int>(f.width), static_cast<int>(f.height));
    resizing = false;
}

void ucAniGIF::UserControl_Paint(HDC dc) {
    try {
        frames.paintCurrentFrame(clock.currentFrame(), dc, Left(), Top());
    } catch (...) {
        return;  // no memory to compose the frame: nothing drawn this time
    }
    if (ambientUserMode()) return;
    // At design time, a dotted frame in the window-frame colour.
    handles::Owned<HPEN, handles::GdiObjectTraits> pen(CreatePen(PS_DOT, 1, GetSysColor(COLOR_WINDOWFRAME)));
    handles::Selection penIn(dc, pen.get());
    handles::Selection noFill(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, Left(), Top(), Left() + Width(), Top() + Height());
}

HCURSOR ucAniGIF::cursor() const {
    if (mousePointer == 99) return mouseCursor.get();
    const LPCWSTR name = systemPointer(mousePointer);
    return name != nullptr ? LoadCursorW(nullptr, name) : nullptr;
}

void ucAniGIF::UserControl_Click() {
    if (enabled && Click) Click();
}

void ucAniGIF::raiseMouse(const std::function<void(std::int16_t&, std::int16_t&, float&, float&)>& event, int button,
                          int shift, int x, int y) {
    if (!enabled || !event) return;
    std::int16_t b = static_cast<std::int16_t>(button), s = static_cast<std::int16_t>(shift);
    // The container measures in pixels too: whole numbers.
    float fx = std::floor(static_cast<float>(x)), fy = std::floor(static_cast<float>(y));
    event(b, s, fx, fy);
}

void ucAniGIF::UserControl_MouseDown(int button, int shift, int x, int y) { raiseMouse(MouseDown, button, shift, x, y); }
void ucAniGIF::UserControl_MouseMove(int button, int shift, int x, int y) { raiseMouse(MouseMove, button, shift, x, y); }
void ucAniGIF::UserControl_MouseUp(int button, int shift, int x, int y) { raiseMouse(MouseUp, button, shift, x, y); }

std::optional<forms::Picture> ucAniGIF::AnimatedGIF() const {
    if (!frames.loaded()) return std::nullopt;
    forms::Picture picture{frames.exportFrame(clock.currentFrame())};
    // The platform must be able to make a picture of it.
    if (!fulmina::pictureFromBytes(picture.bytes)) return std::nullopt;
    return picture;
}

void ucAniGIF::setAnimatedGIF(const std::optional<forms::Picture>& aGif) {
    if (!aGif) {
        resetGif();
    } else if (loadGifBytes(aGif->bytes) && !ambientUserMode()) {
        const FitMode kept = stretch;
        stretch = FitMode::gifSize;
        UserControl_Resize();
        stretch = kept;
        frames.ScaleX = frames.ScaleY = 1;
    }
    Refresh();
    PropertyChanged("AnimatedGIF");
}

void ucAniGIF::setEnabled(bool Enable) {
    enabled = Enable;
    PropertyChanged("Enabled");
}

void ucAniGIF::setAction(std::int32_t Act) {
    if (Act >= 0 && Act <= 4) clock.command(static_cast<Command>(Act));
}

void ucAniGIF::setStretch(std::int32_t newScale) {
    if (newScale < 0 || newScale > 4 || newScale == Stretch()) return;
    stretch = static_cast<FitMode>(newScale);
    const GifClock::Playing playing = clock.playing();
    clock.command(Command::pause);
    UserControl_Resize();
    // Action takes back the state it had: a stopped control is rewound.
    clock.command(playing == GifClock::Playing::stopped   ? Command::stop
                  : playing == GifClock::Playing::playing ? Command::play
                                                          : Command::pause);
    if (playing != GifClock::Playing::playing) Refresh();
    PropertyChanged("Stretch");
}

void ucAniGIF::setMinFrameDelay(std::int32_t Delay) {
    const auto clamped = static_cast<std::int16_t>(std::clamp<std::int32_t>(Delay, 10, 32700));
    if (clamped == clock.MinFrameDelay) return;
    clock.MinFrameDelay = clamped;
    PropertyChanged("Delay");
}

void ucAniGIF::setLoops(std::int32_t Count) {
    if (Count == clock.Loops) return;
    clock.Loops = Count == INT32_MIN ? INT32_MAX : std::abs(Count);
    PropertyChanged("Loops");
}

void ucAniGIF::setMirrored(std::int32_t MirrorStyle) {
    if (MirrorStyle < 0 || MirrorStyle > 3) return;
    if (!frames.loaded()) {
        mirrored = MirrorStyle;
        PropertyChanged("Mirrored");
        return;
    }
    if (MirrorStyle == mirrored) return;
    const GifClock::Playing playing = clock.playing();
    clock.command(Command::pause);  // also finishes a delayed load: every frame is there to flip
    const bool userMode = ambientUserMode();
    frames.mirrorFrames(MirrorStyle ^ mirrored, 1, userMode ? frames.frameCount() : 1, userMode);
    mirrored = MirrorStyle;
    if (playing == GifClock::Playing::playing) clock.command(Command::play);
    else Refresh();
    PropertyChanged("Mirrored");
}

void ucAniGIF::setDelayAnimation(std::int32_t Mode) {
    if (Mode < 0 || Mode > 3 || Mode == delayAnimation) return;
    delayAnimation = Mode;
    PropertyChanged("DelayAnimation");
}

void ucAniGIF::setMouseIcon(const std::optional<forms::Picture>& MousePic) {
    mouseIcon = MousePic;
    mouseCursor = MousePic ? forms::cursorFromBytes(MousePic->bytes) : forms::Cursor();
    if (!MousePic) mousePointer = 0;
    PropertyChanged("MouseIcon");
}

bool ucAniGIF::LoadAnimatedGIF_File(const std::string& FileName) {
    std::vector<std::uint8_t> bytes = frames.fileBytes();
    const forms::PictureFile file = forms::LoadPicture(forms::wide(FileName), downloadLimitBytes);
    if (file.tooLarge) {
        resetGif();
        return false;
    }
    if (file.picture) bytes = file.picture->bytes;
    if (!loadGifBytes(std::move(bytes))) return false;
    resizeToStretch();
    return true;
}

bool ucAniGIF::LoadAnimatedGIF_Array(const std::vector<std::uint8_t>* Bytes) {
    std::vector<std::uint8_t> bytes = Bytes != nullptr ? *Bytes : frames.fileBytes();
    if (!loadGifBytes(std::move(bytes))) return false;
    resizeToStretch();
    return true;
}

void ucAniGIF::LoadAnimatedGIF_Remote(const std::string& RemotePath) {
    if (RemotePath.empty()) return;
    download = GifDownload::start(RemotePath, downloadTimeoutMs, downloadLimitBytes,
                                  [this](bool ok, std::vector<std::uint8_t> bytes) { downloaded(ok, std::move(bytes)); });
    if (!download && RemoteLoadFailure) RemoteLoadFailure();
}

void ucAniGIF::downloaded(bool ok, std::vector<std::uint8_t> bytes) {
    const auto finished = std::move(download);  // freed when this returns
    const GifHeader header = readGifHeader(bytes.data(), bytes.size());
    if (!ok || bytes.size() <= 14 || !header.valid) {
        if (RemoteLoadFailure) RemoteLoadFailure();
        return;
    }
    bool cancel = false;
    if (RemoteLoadComplete) {
        RemoteLoadComplete(static_cast<float>(header.ScreenWidth), static_cast<float>(header.ScreenHeight), cancel);
    }
    if (cancel) return;
    if (loadGifBytes(std::move(bytes))) resizeToStretch();
}

void ucAniGIF::ReadProperties(const forms::PropertyBag& bag) {
    std::string stored = bag.ReadProperty("GIF", std::string_view());
    const long delay = bag.ReadProperty("Delay", long{clock.MinFrameDelay});
    if (delay >= INT16_MIN && delay <= INT16_MAX) clock.MinFrameDelay = static_cast<std::int16_t>(delay);
    const long fit = bag.ReadProperty("Stretch", 1L);
    stretch = fit >= 0 && fit <= 4 ? static_cast<FitMode>(fit) : FitMode::proportional;
    const long delayLoad = bag.ReadProperty("DelayLoad", 1L);
    delayAnimation = static_cast<std::int32_t>(delayLoad == -1 ? 1 : delayLoad);
    mirrored = static_cast<std::int32_t>(bag.ReadProperty("Mirror", 0L));
    enabled = bag.ReadProperty("Enabled", true);
    const std::string icon = bag.ReadProperty("MouseIcon", std::string_view());
    if (!icon.empty()) setMouseIcon(forms::Picture{std::vector<std::uint8_t>(icon.begin(), icon.end())});
    mousePointer = static_cast<std::int16_t>(bag.ReadProperty("MousePointer", 0L));
    if (loadGifBytes(std::vector<std::uint8_t>(stored.begin(), stored.end())))
        clock.Loops = static_cast<std::int32_t>(bag.ReadProperty("Loops", long{clock.Loops}));
}

void ucAniGIF::WriteProperties(forms::PropertyBag& bag) const {
    const auto& gif = frames.fileBytes();
    bag.WriteProperty("GIF", std::string_view(reinterpret_cast<const char*>(gif.data()), gif.size()));
    bag.WriteProperty("Delay", long{clock.MinFrameDelay}, 50L);
    bag.WriteProperty("Stretch", long{Stretch()}, 1L);
    bag.WriteProperty("Loops", long{clock.Loops}, 0L);
    bag.WriteProperty("DelayLoad", long{delayAnimation}, 1L);
    bag.WriteProperty("Mirror", long{mirrored}, 0L);
    const std::string icon = mouseIcon ? std::string(mouseIcon->bytes.begin(), mouseIcon->bytes.end()) : std::string();
    bag.WriteProperty("MouseIcon", std::string_view(icon), std::string_view());
    bag.WriteProperty("MousePointer", long{mousePointer}, 0L);
    bag.WriteProperty("Enabled", enabled, true);
}

}  // namespace fulmina::gif
