#include "controls/gif/ani_gif_win32.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "controls/gif/gif_download_win32.h"
#include "forms/form_win32.h"

namespace fulmina::gif {

unsigned ucAniGIF::downloadTimeoutMs = 30000;
std::size_t ucAniGIF::downloadLimitBytes = std::size_t{32} * 1024 * 1024;

namespace {
// The controls that exist. KillTimer leaves a WM_TIMER already queued, so a
// tick checks that its control is still here.
std::set<const ucAniGIF*>& liveControls() {
    static std::set<const ucAniGIF*> controls;
    return controls;
}

bool isGifSignature(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 6) return false;
    std::string text(bytes.begin(), bytes.begin() + 6);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text == "gif89a" || text == "gif87a";
}

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
    : Windowless(container, left, top, width, height) {
    liveControls().insert(this);
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
    liveControls().erase(this);
}

// The timer: SetTimer on the container's window, the control's address its id.
bool ucAniGIF::setTimer(unsigned milliseconds, Callback callback) {
    pending = callback;
    return SetTimer(forms::Windowless::containerWindow(), reinterpret_cast<UINT_PTR>(this), milliseconds, timerProc) != 0;
}

void ucAniGIF::killTimer() {
    if (HWND window = forms::Windowless::containerWindow()) KillTimer(window, reinterpret_cast<UINT_PTR>(this));
}

void CALLBACK ucAniGIF::timerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto* control = reinterpret_cast<ucAniGIF*>(id);
    if (liveControls().count(control) == 0) return;
    if (control->pending == Callback::advanceFrame) control->clock.advanceFrame();
    else control->clock.finishDelayedLoad();
}

void ucAniGIF::resetGif() {
    clock.load({});  // stops the timers
    frames.reset();
}

bool ucAniGIF::loadGifBytes(std::vector<std::uint8_t> bytes) {
    resetGif();
    clock.Loops = 0;
    if (!bytes.empty() && frames.create(std::move(bytes), ambientUserMode())) {
        clock.Loops = frames.fileLoops();
        if (buildFrames(true)) {
            if (ambientUserMode() && frames.frameCount() == 1) Refresh();
            return true;
        }
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
        if (!userMode) {
            frames.mirrorFrames(0, mirrored, true, false);
            return true;
        }
        if (delayAnimation != 0) {
            frames.mirrorFrames(0, mirrored, true, false);
            frames.frameOneMirrored = true;
            clock.startTimer(2);
            return true;
        }
    }
    if (frames.frameCount() > 1) frames.decodeFrames(2, frames.frameCount());
    frames.mirrorFrames(0, mirrored, !userMode, false);
    if (userMode) {
        frames.dropFile();
        if ((delayAnimation & 2) == 0) clock.startTimer(1);
    }
    return true;
}

void ucAniGIF::resizeToStretch() {
    if (stretch == 1 || stretch == 3 || stretch == 4) UserControl_Resize();
}

void ucAniGIF::UserControl_Resize() {
    if (!frames.loaded() || resizing) return;
    const Fit f = frames.fit(Width(), Height(), stretch);
    resizing = true;
    Move(Left(), Top(), static_cast<int>(f.width), static_cast<int>(f.height));
    resizing = false;
}

void ucAniGIF::UserControl_Paint(HDC dc) {
    frames.paintCurrentFrame(clock.currentFrame(), dc, Left(), Top());
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
    if (!forms::loadPictureFromBytes(picture.bytes)) return std::nullopt;
    return picture;
}

void ucAniGIF::setAnimatedGIF(const std::optional<forms::Picture>& aGif) {
    if (!aGif) {
        resetGif();
    } else if (loadGifBytes(aGif->bytes) && !ambientUserMode()) {
        const std::int32_t kept = stretch;
        stretch = 4;
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

void ucAniGIF::setStretch(std::int32_t newScale) {
    if (newScale < 0 || newScale > 4 || newScale == stretch) return;
    stretch = newScale;
    const int playing = clock.Action();
    clock.setAction(2);
    UserControl_Resize();
    clock.setAction(playing);
    if (playing != 1) Refresh();
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
    const int playing = clock.Action();
    clock.setAction(2);
    frames.mirrorFrames(MirrorStyle, mirrored, !ambientUserMode(), ambientUserMode());
    mirrored = MirrorStyle;
    if (playing == 1) clock.setAction(1);
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
    if (const auto file = forms::LoadPicture(FileName)) bytes = file->bytes;
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
    if (!ok || bytes.size() <= 14 || !isGifSignature(bytes)) {
        if (RemoteLoadFailure) RemoteLoadFailure();
        return;
    }
    bool cancel = false;
    if (RemoteLoadComplete) {
        const float width = static_cast<float>(bytes[6] | (bytes[7] << 8));
        const float height = static_cast<float>(bytes[8] | (bytes[9] << 8));
        RemoteLoadComplete(width, height, cancel);
    }
    if (cancel) return;
    if (loadGifBytes(std::move(bytes))) resizeToStretch();
}

void ucAniGIF::ReadProperties(const forms::PropertyBag& bag) {
    std::string stored = bag.ReadProperty("GIF", std::string_view());
    const long delay = bag.ReadProperty("Delay", long{clock.MinFrameDelay});
    if (delay >= INT16_MIN && delay <= INT16_MAX) clock.MinFrameDelay = static_cast<std::int16_t>(delay);
    stretch = static_cast<std::int32_t>(bag.ReadProperty("Stretch", 1L));
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
    bag.WriteProperty("Stretch", long{stretch}, 1L);
    bag.WriteProperty("Loops", long{clock.Loops}, 0L);
    bag.WriteProperty("DelayLoad", long{delayAnimation}, 1L);
    bag.WriteProperty("Mirror", long{mirrored}, 0L);
    const std::string icon = mouseIcon ? std::string(mouseIcon->bytes.begin(), mouseIcon->bytes.end()) : std::string();
    bag.WriteProperty("MouseIcon", std::string_view(icon), std::string_view());
    bag.WriteProperty("MousePointer", long{mousePointer}, 0L);
    bag.WriteProperty("Enabled", enabled, true);
}

}  // namespace fulmina::gif
