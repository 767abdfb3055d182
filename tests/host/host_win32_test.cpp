// The host's Windows adapters under Wine: files, the settings file through
// the private-profile API (all keys or none, by wide paths), the saved glow
// picture.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/handles_win32.h"
#include "forms/form_win32.h"
#include "forms/image_win32.h"
#include "forms/text_win32.h"
#include "host/platform_win32.h"
#include "host/setting_number.h"
#include "host/settings_file.h"
#include "host/settings_store_win32.h"

namespace {

using namespace fulmina;

std::string tempFolder() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string folder = std::string(dir) + "fulmina_host_test";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string readBytes(const std::string& path) {
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) out.append(buffer, n);
    std::fclose(f);
    return out;
}

// The names in a folder, but for . and ..
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return names;
}

// The keys as code page 932 bytes: BGM区分, BGMﾘﾋﾟｰﾄ, BGMﾌｧｲﾙ.
const std::string kindKey = "BGM\x8B\xE6\x95\xAA";
const std::string repeatKey = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string fileKey = "BGM\xCC\xA7\xB2\xD9";

class HostFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = tempFolder();
        ini = folder + "\\Fulmina.ini";
        DeleteFileA(ini.c_str());
    }
    void TearDown() override {
        DeleteFileA(ini.c_str());
        for (const auto& f : extra) DeleteFileA(f.c_str());
    }
    Settings load() {
        Settings s;
        Win32SettingsSource source(forms::fromAnsi(ini));
        LoadSettings(source, settingsNames(), ansiLeadBytes(), folder, s);
        return s;
    }
    void iniLines(const std::string& lines) { writeBytes(ini, "[Section]\r\n" + lines); }
    std::string folder, ini;
    std::vector<std::string> extra;
};

TEST_F(HostFiles, TheSettingsKeysAreCodePage932Text) {
    const SettingsNames names = settingsNames();
    EXPECT_EQ(names.section, "Section");
    EXPECT_EQ(names.kindKey, kindKey);
    EXPECT_EQ(names.repeatKey, repeatKey);
    EXPECT_EQ(names.fileKey, fileKey);
}

TEST_F(HostFiles, FileExistsOnlyForFilesThatOpenForReading) {
    const std::string file = folder + "\\present.txt";
    extra.push_back(file);
    writeBytes(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(folder + "\\"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(folder + "\\absent.txt"));
}

TEST_F(HostFiles, NoSettingsFileGivesTheDefaults) {
    const Settings s = load();
    EXPECT_EQ(s.BgmKind, 0);
    EXPECT_EQ(s.BgmRepeatTrack, 0);
    EXPECT_EQ(s.BgmFile, "");
    EXPECT_EQ(s.BgmFolder, folder);
}

TEST_F(HostFiles, KindTwoWithADeletedFileIsNoMusic) {
    iniLines(kindKey + "= 2\r\n" + fileKey + "=" + folder + "\\deleted.mp3\r\n");
    const Settings s = load();
    EXPECT_EQ(s.BgmKind, 0);
    EXPECT_EQ(s.BgmFile, "");
}

TEST_F(HostFiles, AnExistingMusicFileIsKeptWithItsFolder) {
    const std::string song = folder + "\\song.wav";
    extra.push_back(song);
    writeBytes(song, "RIFF");
    iniLines(kindKey + "= 2\r\n" + repeatKey + "=2.5\r\n" + fileKey + "=" + song + "\r\n");
    const Settings s = load();
    EXPECT_EQ(s.BgmKind, 2);
    EXPECT_EQ(s.BgmRepeatTrack, 2);
    EXPECT_EQ(s.BgmFile, song);
    EXPECT_EQ(s.BgmFolder, folder);
}

TEST_F(HostFiles, KindOneWithAnEmptyFileStaysOneAndNegativeHalvesRoundDown) {
    iniLines(kindKey + "= 1\r\n" + repeatKey + "=-0.5\r\n" + fileKey + "=\r\n");
    const Settings s = load();
    EXPECT_EQ(s.BgmKind, 1);
    EXPECT_EQ(s.BgmRepeatTrack, -1);
}

TEST_F(HostFiles, ALongPathIsReadBackCutTo255BytesAndFailsTheTest) {
    const std::string longPath = "C:\\" + std::string(297, 'a');
    iniLines(kindKey + "= 2\r\n" + fileKey + "=" + longPath + "\r\n");
    Win32SettingsSource source(forms::fromAnsi(ini));
    EXPECT_EQ(source.ReadIniValue("Section", fileKey), longPath.substr(0, 255));
    const Settings s = load();
    EXPECT_EQ(s.BgmKind, 0);
    EXPECT_EQ(s.BgmFile, "");
}

using Values = std::vector<std::pair<std::string, std::string>>;

// The lines as written: Windows keeps the sign blank in a value; Wine's
// profile code drops leading blanks from what it writes.
bool sameLines(const std::string& written, const std::string& windows) {
    std::string wine = windows;
    for (size_t at; (at = wine.find("= ")) != std::string::npos;) wine.erase(at + 1, 1);
    return written == windows || written == wine;
}

TEST_F(HostFiles, WrittenSettingsAreTheDialogsLinesInCodePage932) {
    Win32SettingsStore store(forms::fromAnsi(ini));
    ASSERT_TRUE(store.WriteIniValues("Section", {{kindKey, formatSettingNumber(1)},
                                                 {repeatKey, formatSettingNumber(3)},
                                                 {fileKey, ""}}));
    const std::string written = readBytes(ini);
    EXPECT_TRUE(sameLines(written, "[Section]\r\n" + kindKey + "= 1\r\n" + repeatKey + "= 3\r\n" + fileKey + "=\r\n"))
        << written;
    const Settings s = load();
    EXPECT_EQ(s.BgmKind, 1);
    EXPECT_EQ(s.BgmRepeatTrack, 3);
}

// Every key or none: a file that cannot be changed keeps its bytes, and no
// copy of it is left behind.
TEST_F(HostFiles, SettingsAreWrittenWhollyOrNotAtAll) {
    const std::string box = folder + "\\store";
    CreateDirectoryA(box.c_str(), nullptr);
    const std::string file = box + "\\Fulmina.ini";
    const std::string old = "; kept\r\n[Other]\r\na=1\r\n[Section]\r\n" + kindKey + "=0\r\n";
    const Values values{{kindKey, " 2"}, {repeatKey, " 0"}, {fileKey, "C:\\a.wav"}};
    const std::string keys = kindKey + "= 2\r\n" + repeatKey + "= 0\r\n" + fileKey + "=C:\\a.wav\r\n";
    enum class Before { none, plain, readOnly, folder, held };
    struct Case {
        const char* what;
        Before before;
        bool written;
        std::string after;
    } cases[] = {
        {"no file yet", Before::none, true, "[Section]\r\n" + keys},
        {"a file with more in it keeps the rest", Before::plain, true, "; kept\r\n[Other]\r\na=1\r\n[Section]\r\n" + keys},
        {"a read-only file", Before::readOnly, false, old},
        {"a folder in its place", Before::folder, false, ""},
        {"a file another program holds, letting nobody write it", Before::held, false, old},
    };
    for (const Case& c : cases) {
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.before == Before::folder) CreateDirectoryA(file.c_str(), nullptr);
        if (c.before != Before::none && c.before != Before::folder) writeBytes(file, old);
        if (c.before == Before::readOnly) SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        if (c.before == Before::held)
            held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        Win32SettingsStore store(forms::fromAnsi(file));
        EXPECT_EQ(store.WriteIniValues("Section", values), c.written) << c.what;
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        if (c.before == Before::folder) {
            EXPECT_NE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << c.what;
        } else {
            const std::string after = readBytes(file);
            EXPECT_TRUE(c.written ? sameLines(after, c.after) : after == c.after) << c.what << ": " << after;
        }
        EXPECT_EQ(namesIn(box), std::vector<std::string>{"Fulmina.ini"}) << c.what;
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
        RemoveDirectoryA(file.c_str());
    }
    RemoveDirectoryA(box.c_str());
}

// The owner, group and DACL the system reports of a file, as SDDL text.
std::wstring securityText(const std::string& file) {
    constexpr SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                          DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(file.c_str(), SE_FILE_OBJECT, what, nullptr, nullptr, nullptr, nullptr, &descriptor))
        return L"(none)";
    const handles::LocalMemory freed(descriptor);
    wchar_t* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, what, &text, nullptr))
        return L"(none)";
    const handles::LocalMemory freedText(text);
    return text;
}

// A save keeps the file the user has: a plain file, given a DACL of its own
// and the hidden attribute, keeps both as the system reports them (the
// program sets them where the system's replacement does not keep them), and
// nothing of the save is left beside it or in the temporary folder; a file
// that another program lets be written but not renamed is written in place.
TEST_F(HostFiles, ASaveKeepsTheFilesSecurityAndAttributesOrWritesItInPlace) {
    const std::string box = folder + "\\keep", file = box + "\\Fulmina.ini";
    CreateDirectoryA(box.c_str(), nullptr);
    for (const bool held : {false, true}) {
        writeBytes(file, "; kept\r\n");
        const std::wstring given = securityText(file);  // "O:<owner>G:..."
        PSECURITY_DESCRIPTOR own = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            (L"D:P(A;;FA;;;SY)(A;;FA;;;" + given.substr(2, given.find(L"G:") - 2) + L")").c_str(), SDDL_REVISION_1,
            &own, nullptr));
        const handles::LocalMemory freed(own);
        ASSERT_TRUE(SetFileSecurityA(file.c_str(), DACL_SECURITY_INFORMATION, own));
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
        handles::KernelObject holder = handles::fileHandle(
            held ? CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr)
                 : INVALID_HANDLE_VALUE);
        const std::wstring security = securityText(file);
        const DWORD attributes = GetFileAttributesA(file.c_str());
        Win32SettingsStore store(forms::fromAnsi(file));
        EXPECT_TRUE(store.WriteIniValues("Section", {{kindKey, " 2"}, {repeatKey, " 0"}, {fileKey, ""}})) << held;
        const std::string after = readBytes(file);
        EXPECT_TRUE(sameLines(after, "; kept\r\n[Section]\r\n" + kindKey + "= 2\r\n" + repeatKey + "= 0\r\n" + fileKey +
                                         "=\r\n"))
            << held << ": " << after;
        EXPECT_NE(security.find(L"D:"), std::wstring::npos);
        EXPECT_EQ(securityText(file), security) << held;
        EXPECT_EQ(GetFileAttributesA(file.c_str()), attributes) << held;
        EXPECT_EQ(namesIn(box), std::vector<std::string>{"Fulmina.ini"}) << held;
        holder.reset();
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(box.c_str());
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, temp);
    for (const std::string& name : namesIn(FolderOfPath(temp, ansiLeadBytes()))) EXPECT_NE(name.rfind("Fulmina-", 0), 0u) << name << " is left";
}

// The ANSI path stored for a file the user chose: its name when code page
// 932 spells it, its short name when that does, nothing otherwise.
TEST_F(HostFiles, AChosenFileIsStoredByAnAnsiPathThatOpensItOrNotAtAll) {
    const std::wstring here = forms::fromAnsi(folder);
    CreateDirectoryW((here + L"\\dir \u00e9").c_str(), nullptr);
    struct Case {
        std::wstring path;
        bool exists, storable, asNamed;
    } cases[] = {
        {here + L"\\\u97f3\u697d\u30bd.wav", true, true, true},             // 音楽ソ.wav
        {here + L"\\tone \u00e9.wav", true, true, false},                       // by its short name
        {here + L"\\dir \u00e9\\\u8868.mp3", true, true, false},              // a folder the code page cannot spell
        {here + L"\\absent \u00e9.mp3", false, false, false},                   // no file, no short name
        {here + L"\\absent \u4e88.mp3", false, true, true},                      // 予: a name is enough
    };
    for (const Case& c : cases) {
        if (c.exists) {
            HANDLE h = CreateFileW(c.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            CloseHandle(h);
        }
        const std::optional<std::string> stored = ansiPathOf(c.path);
        EXPECT_EQ(stored.has_value(), c.storable) << forms::utf8(c.path);
        if (stored && c.asNamed) {
            EXPECT_EQ(forms::fromAnsi(*stored), c.path);
        }
        if (stored && c.exists) {
            EXPECT_TRUE(FileExists(*stored)) << *stored;
        }
        if (c.exists) DeleteFileW(c.path.c_str());
    }
    RemoveDirectoryW((here + L"\\dir \u00e9").c_str());
}

TEST(PictureBox, SavesItsPersistentImageAsABitmapFile) {
    handles::WindowDc screen;
    handles::Bitmap picture(CreateCompatibleBitmap(screen.get(), 4, 4));
    {
        handles::MemoryDc dc(CreateCompatibleDC(screen.get()));
        handles::Selection selected(dc.get(), picture.get());
        RECT r{0, 0, 4, 4};
        FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }

    class HiddenForm : public forms::Form {
    public:
        HiddenForm() : Form({L"box", WS_POPUP}) {}
    } form;
    forms::PictureBox box(form, 0, 0, 8, 8, RGB(0, 0, 0), picture);  // the picture over a black background
    const std::string path = tempFolder() + "\\box.bmp";
    ASSERT_TRUE(box.SavePicture(path.c_str()));
    const std::string bytes = readBytes(path);
    DeleteFileA(path.c_str());
    ASSERT_EQ(bytes.size(), 14u + 40u + 8u * 24u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + 14);
    EXPECT_EQ(info->biWidth, 8);
    EXPECT_EQ(info->biHeight, 8);
    EXPECT_EQ(info->biBitCount, 24);
    // Rows are bottom-up: the top-left pixel is white, the bottom-left black.
    const auto* pixels = reinterpret_cast<const unsigned char*>(bytes.data() + 54);
    EXPECT_EQ(pixels[7 * 24], 255);
    EXPECT_EQ(pixels[0], 0);
    EXPECT_FALSE(box.SavePicture("C:\\no\\such\\folder\\box.bmp"));
}

}  // namespace
