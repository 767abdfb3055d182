#pragma once
// The host's fixed texts, as UTF-8. What the user reads goes to the wide
// Windows calls; what is stored or sent as ANSI is converted to code page 932.

namespace fulmina::texts {

// Captions that mark a running instance (the second is the settings dialog).
constexpr const char* mainCaption = "Fulmina_Main";
constexpr const char* settingsDialogCaption = "↓Fulmina↓";
constexpr const char* saverFormCaption = "DesktopSparvel_Main";
constexpr const char* previewFormCaption = "Preview Window";

constexpr const char* applicationTitle = "Fulmina";
constexpr const char* rendererMissing = "Fulmina.dll が同じﾌｫﾙﾀﾞに見つかりません！";

// The settings file and its keys.
constexpr const char* settingsFile = "\\Fulmina.ini";
constexpr const char* settingsSection = "Section";
constexpr const char* kindKey = "BGM区分";
constexpr const char* repeatKey = "BGMﾘﾋﾟｰﾄ";
constexpr const char* fileKey = "BGMﾌｧｲﾙ";

// The settings dialog.
constexpr const char* sectionTitle = "BGM";
constexpr const char* choiceCd = "音楽CD";
constexpr const char* choiceNone = "なし";
constexpr const char* choiceFile = "MP3、WAV";
constexpr const char* repeatLabel = "曲目をﾘﾋﾟｰﾄ";
constexpr const char* fileFilterName = "BGMﾌｧｲﾙ (MP3 WAV)";
constexpr const char* fileFilterPattern = "*.MP3;*.WAV";
constexpr const char* fileChooserTitle = "ﾌｧｲﾙを開く";
// A chosen file whose name neither the code page nor a short name spells.
constexpr const char* fileUnusable = "このﾌｧｲﾙは使えません。\nﾌｧｲﾙ名に、このｼｽﾃﾑの文字で表せない文字があります。";
// "設定" when the settings file cannot be written; the dialog stays open.
constexpr const char* settingsNotSaved = "設定を保存できませんでした。\nFulmina.ini に書き込めません。";
constexpr const char* credit = "Fulmina 1.0.0 by the Fulmina team";
constexpr const char* homePage = "https://fulmina.example.org/";

// The music player's replies of its own.
constexpr const char* noCommand = "コマンド文字列が指定されていません";
constexpr const char* noErrorText = "Error (文字列が取れません)";

}  // namespace fulmina::texts
