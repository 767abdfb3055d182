#pragma once
// Fulmina_P: the settings dialog. The user chooses the saver's music (none,
// an audio CD with a track to repeat, or an MP3 or WAV file); "設定" writes
// the settings file and closes (where it cannot, it says so and stays open),
// "ｷｬﾝｾﾙ" and the close box close without writing. It edits the in-memory
// settings as the user clicks.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "common/handles_win32.h"
#include "controls/gif/ani_gif_win32.h"
#include "forms/combo_box_win32.h"
#include "forms/form_win32.h"
#include "forms/image_win32.h"
#include "forms/label_win32.h"
#include "host/settings/command_win32.h"
#include "host/settings_file.h"

namespace fulmina {

class FulminaP : public forms::Form {
public:
    // Confirming writes the settings to the store.
    explicit FulminaP(SettingsStore& store);

protected:
    void readStoredProperties() override;
    void Form_Load() override;
    void Form_Unload() override;

private:
    void InitButtons(bool callInitialize, bool enable);
    void TileBackground(forms::PictureBox& box);
    void choose(int index);  // Img_BGM_Click and lbl_BGM_Click
    void Cmd_File_Click();
    void Cmd_Set_Click() { SaveSettings(); }
    void Cmd_Can_Click() { Unload(); }
    void ucAniGIF1_Click();
    void SaveSettings();
    void showFileName(const std::wstring& name);

    SettingsStore& store;

    // Hidden pictures.
    handles::Bitmap Pic_Mbl, Img_T1, Img_T2;
    std::array<handles::Bitmap, 2> Img_Opt, Img_Ra;

    // The visible layout, back to front.
    forms::PictureBox Pic_C;
    forms::PictureBox Pic_1;
    forms::Label lbl0;
    std::array<std::unique_ptr<forms::Image>, 3> Img_BGM;
    std::array<std::unique_ptr<forms::Label>, 3> lbl_BGM;
    forms::Label lbl1;
    forms::Label lbl_Fname;
    gif::ucAniGIF ucAniGIF1;
    forms::Label lbl9;
    forms::ComboBox BGM_Repeat;
    Command Cmd_File;
    Command Cmd_Set;
    Command Cmd_Can;
};

}  // namespace fulmina
