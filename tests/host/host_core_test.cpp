#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "forms/units.h"
#include "host/mode_letter.h"
#include "host/paths.h"
#include "common/plain_file.h"
#include "host/renderer_watch.h"
#include "host/setting_number.h"

namespace {

using namespace fulmina;

TEST(ModeLetter, IsTheSecondCharacterUpperCased) {
    EXPECT_EQ(modeLetter("/s"), 'S');
    EXPECT_EQ(modeLetter("/S"), 'S');
    EXPECT_EQ(modeLetter("-s"), 'S');
    EXPECT_EQ(modeLetter("/Sxyz"), 'S');
    EXPECT_EQ(modeLetter("xs"), 'S');
    EXPECT_EQ(modeLetter("s"), 0);
    EXPECT_EQ(modeLetter(""), 0);
    EXPECT_EQ(modeLetter("/c:1234"), 'C');
    EXPECT_EQ(modeLetter("/p 123"), 'P');
    EXPECT_EQ(modeLetter("/a"), 'A');
}

TEST(ModeLetter, AnEmptyLineIsTheSettingsAsExplorersConfigureGivesIt) {
    const std::pair<const char*, char> cases[] = {{"", 'C'}, {"/s", 'S'}, {"s", 0}, {"/c:1234", 'C'}, {"/p 12", 'P'}};
    for (const auto& [line, mode] : cases) EXPECT_EQ(hostMode(line), mode) << '"' << line << '"';
}

TEST(ModeLetter, PreviewHandleIsTheNumberFromTheFourthCharacter) {
    EXPECT_EQ(previewHandleNumber("/p 123"), 123);
    EXPECT_EQ(previewHandleNumber("/p    4567"), 4567);
    EXPECT_EQ(previewHandleNumber("/p 12ab"), 12);
    EXPECT_EQ(previewHandleNumber("/p"), 0);
    EXPECT_EQ(previewHandleNumber("/p abc"), 0);
    EXPECT_EQ(previewHandleNumber("/p 99999999999"), 0);  // no 32-bit handle
}

const LeadBytes japanese = LeadBytes::codePage932();
const LeadBytes western;  // code page 1252: every byte a character

TEST(FolderOfPath, GivesTheFolderWithoutATrailingBackslash) {
    EXPECT_EQ(FolderOfPath("C:\\Music\\a.mp3", japanese), "C:\\Music");
    EXPECT_EQ(FolderOfPath("C:\\a.mp3", japanese), "C:");
    EXPECT_EQ(FolderOfPath("C:a.mp3", japanese), "C:");
    EXPECT_EQ(FolderOfPath("a.mp3", japanese), "");
    EXPECT_EQ(FolderOfPath("\\\\server\\share\\a.mp3", japanese), "\\\\server\\share");
    EXPECT_EQ(FolderOfPath("", japanese), "");
    EXPECT_EQ(FolderOfPath(std::wstring(L"C:\\M\u00fcller\\Fulmina\\Fulmina.scr")), L"C:\\M\u00fcller\\Fulmina");
    EXPECT_EQ(FolderOfPath(std::wstring(L"C:\\Fulmina.scr")), L"C:");
    EXPECT_EQ(FolderOfPath(std::wstring(L"Fulmina.scr")), L"");
}

// Code page 932 paths: the trail byte of ソ (83 5C), 表 (95 5C), 能 (94 5C)
// and 予 (97 5C) is the byte of '\\', and ジ (83 57) ends in a 'W'. In code
// page 1252 the same bytes are single characters: é (E9) before a '\\'
// leaves the '\\' a separator.
TEST(Paths, AnsiPathsAreScannedByTheCharactersOfTheirCodePage) {
    const std::string so = "\x83\x5C", hyo = "\x95\x5C", nou = "\x94\x5C", yo = "\x97\x5C";
    const std::string ongaku = "\x89\xB9\x8A\x79";  // 音楽
    struct Case {
        const LeadBytes& lead;
        std::string path, folder, withoutBackslash, ending;
    } cases[] = {
        {japanese, "C:\\" + ongaku + "\\" + so + ".mp3", "C:\\" + ongaku, "C:\\" + ongaku + "\\" + so + ".mp3", "MP3"},
        {japanese, "C:\\" + nou + ".wav", "C:", "C:\\" + nou + ".wav", "WAV"},
        {japanese, "C:\\" + hyo, "C:", "C:\\" + hyo, ":\\" + hyo},
        {japanese, "C:\\" + hyo + "\\", "C:\\" + hyo, "C:\\" + hyo, "\\" + hyo + "\\"},
        {japanese, "D:" + yo + so + "\\" + yo + "a", "D:" + yo + so, "D:" + yo + so + "\\" + yo + "a", "\\" + yo + "A"},
        {japanese, "C:\\m\\x\x83\x57" "av", "C:\\m", "C:\\m\\x\x83\x57" "av", "\x83\x57" "AV"},  // ジav is no WAV
        {japanese, "\x83", "", "\x83", "\x83"},  // a lead byte cut off at the end
        {western, "C:\\caf\xE9\\a.mp3", "C:\\caf\xE9", "C:\\caf\xE9\\a.mp3", "MP3"},
        {western, "C:\\" + hyo, "C:\\\x95", "C:\\\x95", "\\\x95\\"},
        {western, "C:\\m\\x\x83\x57" "av", "C:\\m", "C:\\m\\x\x83\x57" "av", "WAV"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderOfPath(c.path, c.lead), c.folder) << c.path;
        EXPECT_EQ(withoutTrailingBackslash(c.path, c.lead), c.withoutBackslash) << c.path;
        EXPECT_EQ(upperExtension3(c.path, c.lead), c.ending) << c.path;
    }
}

TEST(Paths, EndingsAreTheLastThreeCharactersUpperCased) {
    EXPECT_EQ(upperExtension3("C:\\m\\song.wav", japanese), "WAV");
    EXPECT_EQ(upperExtension3("C:\\m\\song.Mp3", japanese), "MP3");
    EXPECT_EQ(upperExtension3("C:\\m\\song.mid", japanese), "MID");
    EXPECT_EQ(upperExtension3("ab", japanese), "AB");
    EXPECT_EQ(withoutTrailingBackslash("C:\\z_quil\\", japanese), "C:\\z_quil");
    EXPECT_EQ(withoutTrailingBackslash("C:\\z_quil", japanese), "C:\\z_quil");
}

// Where the host reaches the files beside it, from what Windows reports.
TEST(Paths, TheHostFolderIsReachedWhereTheHostReallyIs) {
    const std::wstring system = L"C:\\Windows\\System32", sysnative = L"C:\\Windows\\Sysnative";
    struct Case {
        const char* what;
        HostPlace place;
        std::wstring reached;
    } cases[] = {
        {"a 64-bit host anywhere", {L"C:\\Windows\\System32", L"", false, system, L""}, L"C:\\Windows\\System32"},
        {"32-bit, from its own folder", {L"C:\\Saver", L"C:\\Saver", true, system, sysnative}, L"C:\\Saver"},
        {"32-bit, started from the real System32 by a 64-bit program",
         {L"C:\\Windows\\System32", L"C:\\Windows\\System32", true, system, sysnative}, sysnative},
        {"the same, in a folder below it, named in other letter case",
         {L"C:\\WINDOWS\\system32\\Savers", L"C:\\Windows\\System32\\Savers", true, system, sysnative},
         sysnative + L"\\Savers"},
        {"the same where Windows cannot name the mapped file",
         {L"C:\\Windows\\System32", L"", true, system, sysnative}, sysnative},
        {"32-bit, named System32 but mapped from SysWOW64 (started by a 32-bit program)",
         {L"C:\\Windows\\System32", L"C:\\Windows\\SysWOW64", true, system, sysnative}, L"C:\\Windows\\System32"},
        {"no Sysnative alias (old 64-bit Windows)", {L"C:\\Windows\\System32", L"", true, system, L""},
         L"C:\\Windows\\System32"},
        {"a folder whose name only begins like the system's",
         {L"C:\\Windows\\System32x", L"C:\\Windows\\System32x", true, system, sysnative}, L"C:\\Windows\\System32x"},
    };
    for (const Case& c : cases) EXPECT_EQ(reachableHostFolder(c.place), c.reached) << c.what;
}

TEST(SettingNumber, ReadsTheFloorAsA16BitValue) {
    EXPECT_EQ(parseSettingNumber("2.9"), 2);
    EXPECT_EQ(parseSettingNumber("2.5"), 2);
    EXPECT_EQ(parseSettingNumber("-0.5"), -1);
    EXPECT_EQ(parseSettingNumber(" 1"), 1);  // as the dialog writes it
    EXPECT_EQ(parseSettingNumber("32767"), 32767);
    EXPECT_EQ(parseSettingNumber("-32768"), -32768);
    EXPECT_FALSE(parseSettingNumber("40000"));
    EXPECT_FALSE(parseSettingNumber("-32769"));
    EXPECT_FALSE(parseSettingNumber("two"));
    EXPECT_FALSE(parseSettingNumber("3 tracks"));
    EXPECT_FALSE(parseSettingNumber(""));
    EXPECT_FALSE(parseSettingNumber("inf"));
    EXPECT_FALSE(parseSettingNumber("0x10"));
}

TEST(SettingNumber, WritesWithASignPosition) {
    EXPECT_EQ(formatSettingNumber(1), " 1");
    EXPECT_EQ(formatSettingNumber(0), " 0");
    EXPECT_EQ(formatSettingNumber(30), " 30");
    EXPECT_EQ(formatSettingNumber(-3), "-3");
    EXPECT_EQ(parseSettingNumber(formatSettingNumber(-3)), -3);
}

TEST(Twips, PaneSizesAreHeldAs16BitTwips) {
    const double tpp = forms::twipsPerPixel(96);
    EXPECT_DOUBLE_EQ(tpp, 15.0);
    EXPECT_EQ(forms::pixelsToTwips16(152, tpp), 2280);
    EXPECT_EQ(forms::twipsToPixels(2280, tpp), 152);
    EXPECT_EQ(forms::pixelsToTwips16(2184, tpp), 32760);
    EXPECT_EQ(forms::pixelsToTwips16(2185, tpp), 0);  // 32775 twips do not fit
    EXPECT_DOUBLE_EQ(forms::twipsPerPixel(120), 12.0);
}

// Each case: the watch started at a tick, then ticks of (window seen, process,
// now), and whether the last of them finds the renderer gone.
TEST(RendererWatch, AnswersFromTheProcessFirstThenTheWindowAndTheGrace) {
    using P = RendererWatch::Process;
    struct Tick {
        bool window;
        P process;
        std::uint32_t now;
    };
    struct Case {
        const char* what;
        std::uint32_t start;
        std::vector<Tick> ticks;
        bool gone;
    } cases[] = {
        {"a slow first start is waited for", 1000, {{false, P::running, 1500}, {false, P::running, 5999}}, false},
        {"up to the grace", 1000, {{false, P::running, 6000}}, true},
        {"a window seen restarts the grace", 0, {{true, P::running, 19000}, {false, P::running, 19500}}, false},
        {"the gap of a display switch", 0, {{true, P::running, 500}, {false, P::running, 1000}, {true, P::running, 1500}},
         false},
        {"no window for the whole grace", 0, {{true, P::running, 500}, {false, P::running, 20000}}, true},
        {"the process ended", 0, {{true, P::running, 500}, {false, P::ended, 1000}}, true},
        {"never started", 0, {{false, P::notStarted, 500}}, true},
        // Another program's window of that title keeps nothing alive once
        // the renderer's own process has gone.
        {"ended, with another window of the title", 0, {{true, P::running, 500}, {true, P::ended, 1000}}, true},
        {"never started, with another window of the title", 0, {{true, P::notStarted, 500}}, true},
        {"a wrapped tick counter, within the grace", 0xFFFFF000u, {{false, P::running, 0x00000100u}}, false},
        {"a wrapped tick counter, past the grace", 0xFFFFF000u, {{false, P::running, 0x00000400u}}, true},
    };
    for (const Case& c : cases) {
        RendererWatch watch(c.start);
        bool gone = false;
        for (const Tick& t : c.ticks) gone = watch.rendererGone(t.window, t.process, t.now);
        EXPECT_EQ(gone, c.gone) << c.what;
    }
}

TEST(SettingNumber, TheRepeatBoxSavesItsTextRoundedHalvesToEvenOr0) {
    struct Case {
        const char* text;
        std::int16_t saved;
    } cases[] = {{"", 0}, {"7", 7}, {" 12 ", 12}, {"abc", 0}, {"2.5", 2}, {"3.5", 4}, {"-1.5", -2},
                 {"1e1", 10}, {"7x", 0}, {"40000", 9}, {"-32769", 9}};
    for (const Case& c : cases) EXPECT_EQ(repeatTrackFromText(c.text, 9), c.saved) << c.text;
    EXPECT_EQ(formatTrack(0), "");
    EXPECT_EQ(formatTrack(7), "7");
    EXPECT_EQ(formatTrack(30), "30");
}

// What the system may report of the texture file and its folder, and whether
// the programs may write, delete or read there.
TEST(PlainFile, OnlyAPlainEntryAtItsOwnPathMayBeWrittenOrDeleted) {
    const std::wstring file = L"C:\\z_quil\\Fulmina.bmp";
    struct Case {
        const char* what;
        EntryFacts facts;
        bool wantDirectory;
        bool plain;
    };
    const std::vector<Case> cases = {
        {"the plain file", {false, false, 1, L"\\\\?\\C:\\z_quil\\Fulmina.bmp"}, false, true},
        {"letters in another case", {false, false, 1, L"\\\\?\\c:\\Z_QUIL\\fulmina.BMP"}, false, true},
        {"no long-path prefix", {false, false, 1, L"C:\\z_quil\\Fulmina.bmp"}, false, true},
        {"a symbolic link opened as itself", {false, true, 1, L"\\\\?\\C:\\z_quil\\Fulmina.bmp"}, false, false},
        {"a link followed to another file", {false, false, 1, L"\\\\?\\C:\\Users\\Bob\\thesis.doc"}, false, false},
        {"reached through a linked folder", {false, false, 1, L"\\\\?\\C:\\Users\\Bob\\Fulmina.bmp"}, false, false},
        {"a hard link: another name of a file", {false, false, 2, L"\\\\?\\C:\\z_quil\\Fulmina.bmp"}, false, false},
        {"a folder by the file's name", {true, false, 1, L"\\\\?\\C:\\z_quil\\Fulmina.bmp"}, false, false},
        {"the same path on a share", {false, false, 1, L"\\\\?\\UNC\\C:\\z_quil\\Fulmina.bmp"}, false, false},
        {"a longer path that starts alike", {false, false, 1, L"\\\\?\\C:\\z_quil\\Fulmina.bmp.old"}, false, false},
        {"nothing reported", {false, false, 1, L""}, false, false},
    };
    for (const Case& c : cases) EXPECT_EQ(isPlainEntry(c.facts, c.wantDirectory, file), c.plain) << c.what;

    const std::wstring folder = L"C:\\z_quil";
    EXPECT_TRUE(isPlainEntry({true, false, 1, L"\\\\?\\C:\\z_quil"}, true, folder));
    EXPECT_TRUE(isPlainEntry({true, false, 3, L"\\\\?\\C:\\z_quil"}, true, folder)) << "a folder's link count varies";
    EXPECT_FALSE(isPlainEntry({true, true, 1, L"\\\\?\\C:\\z_quil"}, true, folder)) << "a junction";
    EXPECT_FALSE(isPlainEntry({true, false, 1, L"\\\\?\\D:\\elsewhere"}, true, folder)) << "a link followed";
    EXPECT_FALSE(isPlainEntry({false, false, 1, L"\\\\?\\C:\\z_quil"}, true, folder)) << "a file by the folder's name";
    EXPECT_TRUE(isPlainEntry({false, false, 1, L"\\\\?\\UNC\\server\\share\\f"}, false, L"\\\\server\\share\\f"));
}

}  // namespace
