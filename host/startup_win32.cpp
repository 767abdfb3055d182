#include "host/startup_win32.h"

#include <windows.h>

#include "common/saver_contract.h"
#include "forms/application_win32.h"
#include "forms/text_win32.h"
#include "host/mode_letter.h"
#include "host/module_values.h"
#include "host/platform_win32.h"
#include "host/preview_win32.h"
#include "host/saver_controller_win32.h"
#include "host/settings/settings_dialog_win32.h"
#include "host/settings_store_win32.h"
#include "host/single_instance_win32.h"
#include "host/startup_helpers_win32.h"
#include "host/texts.h"

namespace fulmina {

namespace {

bool anotherInstance() {
    return FindWindowW(nullptr, forms::wide(texts::mainCaption).c_str()) != nullptr ||
           FindWindowW(nullptr, forms::wide(texts::settingsDialogCaption).c_str()) != nullptr;
}

// The preview inside the control panel's pane. A line without the handle of
// a window ends quietly: there is nothing to show the preview in.
void showPreview(const std::string& commandLine) {
    HWND pane = reinterpret_cast<HWND>(static_cast<INT_PTR>(previewHandleNumber(commandLine)));
    if (pane == nullptr || !IsWindow(pane)) forms::endProcess();
    static FulminaR preview;  // lives until the pane is destroyed
    if (!setUpPreview(preview, pane)) forms::endProcess();
}

}  // namespace

void Main() {
    markEntry();
    const std::string commandLine = processArguments();
    const char mode = hostMode(commandLine);
    if (anotherInstance() || !claimSingleInstance(mode)) forms::endProcess();
    if (mode == 'P') {
        showPreview(commandLine);
        return;
    }
    const std::wstring folder = hostFolder();
    if (!FileExists(folder + forms::wide(contract::rendererFile))) {
        MessageBoxW(nullptr, forms::wide(texts::rendererMissing).c_str(), forms::wide(texts::applicationTitle).c_str(),
                    MB_OK);
        forms::endProcess();
    }
    CreateDirectoryA(contract::textureFolder, nullptr);  // an existing folder is fine
    const std::wstring settingsFile = folder + forms::wide(texts::settingsFile);
    Win32SettingsSource source(settingsFile);
    // The chooser opens in the host's folder by an ANSI path, its short one
    // where the code page cannot spell it.
    LoadSettings(source, settingsNames(), ansiLeadBytes(), ansiPathOf(folder).value_or(std::string()),
                 Fulmina_B.settings);

    if (mode == 'A') forms::endProcess();
    if (mode == 'C') {
        static Win32SettingsStore store(settingsFile);
        static FulminaP dialog(store);
        dialog.ShowModal();
        forms::endProcess();
    }
    if (mode != 'S') forms::endProcess();
    Fulmina_B.SavedCursorCount = ShowCursor(FALSE);
    static FulminaS saver;
    saver.Load();
}

}  // namespace fulmina
