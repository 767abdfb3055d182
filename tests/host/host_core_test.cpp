#include <gtest/gtest.h>

#include "forms/units.h"
#include "host/mode_letter.h"
#include "host/paths.h"
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

TEST(ModeLetter, PreviewHandleIsTheNumberFromTheFourthCharacter) {
    EXPECT_EQ(previewHandleNumber("/p 123"), 123);
    EXPECT_EQ(previewHandleNumber("/p    4567"), 4567);
    EXPECT_EQ(previewHandleNumber("/p 12ab"), 12);
    EXPECT_EQ(previewHandleNumber("/p"), 0);
    EXPECT_EQ(previewHandleNumber("/p abc"), 0);
    EXPECT_EQ(previewHandleNumber("/p 99999999999"), 0);  // no 32-bit handle
}

TEST(FolderOfPath, GivesTheFolderWithoutATrailingBackslash) {
    EXPECT_EQ(FolderOfPath("C:\\Music\\a.mp3"), "C:\\Music");
    EXPECT_EQ(FolderOfPath("C:\\a.mp3"), "C:");
    EXPECT_EQ(FolderOfPath("C:a.mp3"), "C:");
    EXPECT_EQ(FolderOfPath("a.mp3"), "");
    EXPECT_EQ(FolderOfPath("\\\\server\\share\\a.mp3"), "\\\\server\\share");
    EXPECT_EQ(FolderOfPath(""), "");
}

TEST(Paths, EndingsAreTheLastThreeCharactersUpperCased) {
    EXPECT_EQ(upperExtension3("C:\\m\\song.wav"), "WAV");
    EXPECT_EQ(upperExtension3("C:\\m\\song.Mp3"), "MP3");
    EXPECT_EQ(upperExtension3("C:\\m\\song.mid"), "MID");
    EXPECT_EQ(upperExtension3("ab"), "AB");
    EXPECT_EQ(withoutTrailingBackslash("C:\\z_quil\\"), "C:\\z_quil");
    EXPECT_EQ(withoutTrailingBackslash("C:\\z_quil"), "C:\\z_quil");
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

TEST(RendererWatch, ASlowFirstStartIsWaitedFor) {
    RendererWatch watch(1000);
    EXPECT_FALSE(watch.rendererGone(false, RendererWatch::Process::running, 1500));
    EXPECT_FALSE(watch.rendererGone(false, RendererWatch::Process::running, 5999));
    EXPECT_TRUE(watch.rendererGone(false, RendererWatch::Process::running, 6000));
}

TEST(RendererWatch, TheGapOfADisplaySwitchDoesNotEndTheSaver) {
    RendererWatch watch(0);
    EXPECT_FALSE(watch.rendererGone(true, RendererWatch::Process::running, 500));
    // A renderer that shows no window for five seconds is taken as gone.
    EXPECT_TRUE(watch.rendererGone(false, RendererWatch::Process::running, 20000));
    RendererWatch switching(0);
    switching.rendererGone(true, RendererWatch::Process::running, 19000);
    EXPECT_FALSE(switching.rendererGone(false, RendererWatch::Process::running, 19500));
    EXPECT_FALSE(switching.rendererGone(true, RendererWatch::Process::running, 20000));
}

TEST(RendererWatch, AnEndedOrUnstartedRendererEndsTheSaverAtOnce) {
    RendererWatch watch(0);
    watch.rendererGone(true, RendererWatch::Process::running, 500);
    EXPECT_TRUE(watch.rendererGone(false, RendererWatch::Process::ended, 1000));
    RendererWatch never(0);
    EXPECT_TRUE(never.rendererGone(false, RendererWatch::Process::notStarted, 500));
    // A window still standing keeps the saver, whatever the process says.
    RendererWatch other(0);
    EXPECT_FALSE(other.rendererGone(true, RendererWatch::Process::ended, 500));
    // Across a wrap of the tick counter.
    RendererWatch wrap(0xFFFFF000u);
    EXPECT_FALSE(wrap.rendererGone(false, RendererWatch::Process::running, 0x00000100u));
    EXPECT_TRUE(wrap.rendererGone(false, RendererWatch::Process::running, 0x00000400u));
}

}  // namespace
