#include "host/settings/settings_dialog_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "common/saver_contract.h"
#include "forms/application_win32.h"
#include "forms/text_win32.h"
#include "host/module_values.h"
#include "host/paths.h"
#include "host/platform_win32.h"
#include "host/resource_ids.h"
#include "host/setting_number.h"
#include "host/settings_file.h"
#include "host/startup_helpers_win32.h"
#include "host/texts.h"

namespace fulmina {

namespace {

constexpr int panelWidth = 461, panelHeight = 221;

forms::Form::Design dialogDesign() {
    forms::Form::Design d;
    d.caption = forms::wide(texts::settingsDialogCaption);
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;  // a fixed dialog frame
    d.exStyle = WS_EX_DLGMODALFRAME;
    d.background = RGB(230, 228, 244);
    d.font = Command::designFont();
    return d;
}

forms::Label::Alignment left = forms::Label::Alignment::left;

}  // namespace

FulminaP::FulminaP(SettingsStore& settingsStore)
    : Form(dialogDesign()),
      store(settingsStore),
      Pic_Mbl(forms::loadBitmapResource(IDB_TILE)),
      Img_T1(forms::loadBitmapResource(IDB_PLATE)),
      Img_T2(forms::loadBitmapResource(IDB_PLATE_MASK)),
      Img_Opt{forms::loadBitmapResource(IDB_OPTION0), forms::loadBitmapResource(IDB_OPTION1)},
      Img_Ra{forms::loadBitmapResource(IDB_SQUARE0), forms::loadBitmapResource(IDB_SQUARE1)},
      Pic_C(*this, 0, 0, panelWidth, panelHeight, RGB(230, 228, 244)),
      Pic_1(*this, 12, 12, 433, 137, RGB(230, 228, 244)),
      lbl0(*this, 12 + 12, 12 + 16, 95, 13, texts::sectionTitle, forms::Label::Alignment::centre),
      lbl1(*this, 12 + 132, 12 + 44, 66, 13, texts::repeatLabel, left),
      lbl_Fname(*this, 12 + 64, 12 + 100, 353, 21, "", left),
      ucAniGIF1(*this, 12, 156, 120, 50),
      lbl9(*this, 140, 156, 163, 13, texts::credit, left),
      BGM_Repeat(*this, 12 + 88, 12 + 40, 41, 20),
      Cmd_File(*this, 12 + 36, 12 + 100, 25, 21),
      Cmd_Set(*this, 280, 180, 81, 25),
      Cmd_Can(*this, 364, 180, 81, 25) {
    // The choices: index 1 at 44, 0 at 64, 2 at 84 in Pic_1.
    const int rows[3] = {64, 44, 84};
    const char* captions[3] = {texts::choiceNone, texts::choiceCd, texts::choiceFile};
    for (int i = 0; i < 3; ++i) {
        Img_BGM[i] = std::make_unique<forms::Image>(*this, 12 + 20, 12 + rows[i], 13, 13);
        lbl_BGM[i] = std::make_unique<forms::Label>(*this, 12 + 36, 12 + rows[i], 1, 13, captions[i], left);
        // As wide as its text, so that all of it is clickable in whatever
        // font the system draws it with.
        lbl_BGM[i]->Move(12 + 36, 12 + rows[i], std::max(1, lbl_BGM[i]->textWidth()), 13);
        Img_BGM[i]->Click = [this, i] { choose(i); };
        lbl_BGM[i]->Click = [this, i] { choose(i); };
    }
    lbl0.setForeColor(RGB(255, 255, 255));  // on the title plate
    lbl_Fname.setPathEllipsis(true);
    Cmd_File.Click = [this] { Cmd_File_Click(); };
    Cmd_Set.Click = [this] { Cmd_Set_Click(); };
    Cmd_Can.Click = [this] { Cmd_Can_Click(); };
    ucAniGIF1.Click = [this] { ucAniGIF1_Click(); };
}

// The controls' stored properties, compiled into the program: one bag a
// control, by name.
void FulminaP::readStoredProperties() {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_DIALOG_BAG), MAKEINTRESOURCEW(10));  // RT_RCDATA
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    const auto all = data != nullptr ? forms::PropertyBag::parse(std::string_view(
                                           static_cast<const char*>(data), SizeofResource(module, found)))
                                     : std::nullopt;
    auto bagOf = [&all](const char* name) {
        return all ? forms::PropertyBag::parse(all->ReadProperty(name, std::string_view())).value_or(forms::PropertyBag())
                   : forms::PropertyBag();
    };
    Cmd_File.ReadProperties(bagOf("Cmd_File"));
    Cmd_Set.ReadProperties(bagOf("Cmd_Set"));
    Cmd_Can.ReadProperties(bagOf("Cmd_Can"));
    ucAniGIF1.ReadProperties(bagOf("ucAniGIF1"));
}

void FulminaP::InitButtons(bool callInitialize, bool enable) {
    for (Command* button : {&Cmd_File, &Cmd_Set, &Cmd_Can}) {
        if (callInitialize) button->Initialize();
        else button->setEnabled(enable);
    }
}

// Copies of the tile, column by column; the last of each column and the
// last column start beyond the box and are cut off.
void FulminaP::TileBackground(forms::PictureBox& box) {
    BITMAP tile{};
    if (!Pic_Mbl || !GetObject(Pic_Mbl.get(), sizeof(tile), &tile) || tile.bmWidth <= 0 || tile.bmHeight <= 0) return;
    handles::MemoryDc source(CreateCompatibleDC(box.imageDc()));
    handles::Selection selected(source.get(), Pic_Mbl.get());
    int x = 0, y = 0;
    for (;;) {
        BitBlt(box.imageDc(), x, y, tile.bmWidth, tile.bmHeight, source.get(), 0, 0, SRCCOPY);
        if (y > box.Height()) {
            if (x > box.Width()) break;
            x += tile.bmWidth;
            y = 0;
        } else {
            y += tile.bmHeight;
        }
    }
}

void FulminaP::Form_Load() {
    // 1, 2: the client area fits Pic_C; centred across, a third of the way down.
    const double tppX = forms::twipsPerPixelX(), tppY = forms::twipsPerPixelY();
    const long widthTwips = std::lround((panelWidth + 6) * tppX), heightTwips = std::lround((panelHeight + 25) * tppY);
    const long leftTwips = (std::lround(GetSystemMetrics(SM_CXSCREEN) * tppX) - widthTwips) / 2;
    const long topTwips = (std::lround(GetSystemMetrics(SM_CYSCREEN) * tppY) - heightTwips) / 3;
    Move(static_cast<int>(std::lround(leftTwips / tppX)), static_cast<int>(std::lround(topTwips / tppY)),
         static_cast<int>(std::lround(widthTwips / tppX)), static_cast<int>(std::lround(heightTwips / tppY)));
    if (HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FULMINA), IMAGE_ICON,
                                                   0, 0, LR_DEFAULTSIZE | LR_SHARED))) {
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    InitButtons(true, true);  // 3
    TileBackground(Pic_C);    // 4
    TileBackground(Pic_1);
    {  // 5: the title plate, its mask first, so that only the plate covers the tiles
        handles::MemoryDc source(CreateCompatibleDC(Pic_1.imageDc()));
        handles::Selection mask(source.get(), Img_T2.get());
        BitBlt(Pic_1.imageDc(), 12, 12, 95, 22, source.get(), 0, 0, SRCAND);
    }
    {
        handles::MemoryDc source(CreateCompatibleDC(Pic_1.imageDc()));
        handles::Selection plate(source.get(), Img_T1.get());
        BitBlt(Pic_1.imageDc(), 12, 12, 95, 22, source.get(), 0, 0, SRCPAINT);
    }
    Pic_1.Refresh();
    const Settings& s = Fulmina_B.settings;
    BGM_Repeat.setEnabled(false);  // 6
    for (auto& image : Img_BGM) image->setPicture(Img_Opt[0].get());  // 7
    if (s.BgmKind >= 0 && s.BgmKind <= 2) Img_BGM[static_cast<std::size_t>(s.BgmKind)]->setPicture(Img_Opt[1].get());
    if (s.BgmKind == 1) BGM_Repeat.setEnabled(true);  // 8
    Cmd_File.setEnabled(s.BgmKind == 2);               // 9
    BGM_Repeat.setText(formatTrack(s.BgmRepeatTrack));  // 10
    for (int track = 0; track <= 30; ++track) BGM_Repeat.AddItem(formatTrack(track));  // 11
    showFileName(forms::fromAnsi(s.BgmFile));  // 12
    POINT pointer{0, 0};  // 13
    if (!GetCursorPos(&pointer) || pointer.x < INT16_MIN || pointer.x > INT16_MAX || pointer.y < INT16_MIN ||
        pointer.y > INT16_MAX)
        pointer = {0, 0};
    Fulmina_B.ZoomOriginX = static_cast<std::int16_t>(pointer.x);
    Fulmina_B.ZoomOriginY = static_cast<std::int16_t>(pointer.y);
    ZoomOpenFromPoint(hwnd());     // 14
    forms::setScreenMousePointer(0);  // 15
}

void FulminaP::Form_Unload() { ZoomCloseToPoint(hwnd()); }

void FulminaP::showFileName(const std::wstring& name) { lbl_Fname.setCaption(forms::utf8(name)); }

void FulminaP::choose(int index) {
    Settings& s = Fulmina_B.settings;
    s.BgmKind = static_cast<std::int16_t>(index);
    Cmd_File.setEnabled(false);
    BGM_Repeat.setEnabled(false);
    for (auto& image : Img_BGM) image->setPicture(Img_Ra[0].get());
    Img_BGM[static_cast<std::size_t>(index)]->setPicture(Img_Ra[1].get());
    if (s.BgmKind == 1) BGM_Repeat.setEnabled(true);
    if (s.BgmKind == 2) Cmd_File.setEnabled(true);
}

// The system's file chooser. Its wide form, so that a name the system's ANSI
// code page cannot spell still comes back whole: such a file is stored by
// its short name, which opens it, and the user sees its real name. A file
// that neither spells is refused with a message, and the choice stays.
void FulminaP::Cmd_File_Click() {
    Settings& s = Fulmina_B.settings;
    std::wstring filter = forms::wide(texts::fileFilterName);
    filter += L'\0';
    filter += forms::wide(texts::fileFilterPattern);
    filter += L'\0';
    std::wstring file(255, L'\0'), title(255, L'\0');
    const std::wstring folder = forms::fromAnsi(s.BgmFolder), caption = forms::wide(texts::fileChooserTitle);
    OPENFILENAMEW request{};
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    request.hwndOwner = hwnd();
    request.hInstance = GetModuleHandleW(nullptr);
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file.data();
    request.nMaxFile = 255;
    request.lpstrFileTitle = title.data();
    request.nMaxFileTitle = 255;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = caption.c_str();
    Fulmina_B.ApiResult = GetOpenFileNameW(&request);
    if (Fulmina_B.ApiResult <= 0) return;
    const std::wstring chosen = file.c_str();
    const std::optional<std::string> ansi = ansiPathOf(chosen);
    if (!ansi) {
        MessageBoxW(hwnd(), forms::wide(texts::fileUnusable).c_str(), forms::wide(texts::applicationTitle).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    s.BgmFile = *ansi;
    showFileName(chosen);
    s.BgmFolder = FolderOfPath(s.BgmFile, ansiLeadBytes());
}

// A choice that could not be saved is said so, and the dialog stays open
// with it: the user would otherwise believe it kept.
void FulminaP::SaveSettings() {
    const bool saved = fulmina::SaveSettings(store, settingsNames(), BGM_Repeat.Text(), Fulmina_B.settings);
    Fulmina_B.ApiResult = saved ? 1 : 0;
    if (!saved) {
        MessageBoxW(hwnd(), forms::wide(texts::settingsNotSaved).c_str(), forms::wide(texts::applicationTitle).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Unload();
}

void FulminaP::ucAniGIF1_Click() {
    forms::setScreenMousePointer(11);
    ShellExecuteA(hwnd(), "open", texts::homePage, "", "", SW_SHOWNORMAL);
    forms::setScreenMousePointer(0);
}

}  // namespace fulmina
