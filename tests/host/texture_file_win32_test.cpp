// The glow texture file in a folder others may change: what the saver writes
// and deletes there, given plain files, hard links and files held open by
// other programs; who may touch the file while the saver holds it, and whose
// it is. (Symbolic links and linked folders are planted from outside Windows
// by the end-to-end tests.)
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/handles_win32.h"
#include "common/process_user_win32.h"
#include "host/texture_file_win32.h"
#include "host/user_only_security_win32.h"

namespace {

using fulmina::TextureFile;

const std::string folder = "C:\\fulmina_texture_test";
const std::string path = folder + "\\Fulmina.bmp";
const std::string other = "C:\\fulmina_texture_test_other.bin";
const std::vector<std::uint8_t> picture = {'B', 'M', 1, 2, 3, 4, 5, 6};

// Read as the renderer reads: sharing deleting too, as the saver holds the
// file open to delete it.
std::string contents(const std::string& file) {
    const handles::KernelObject in = handles::fileHandle(CreateFileA(
        file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!in) return "(none)";
    std::string bytes;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(in.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void put(const std::string& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

class TextureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        clean();
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override { clean(); }
    static void clean() {
        for (const std::string& f : {path, folder + "\\moved.bmp", other}) {
            SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(f.c_str());
        }
        RemoveDirectoryA(folder.c_str());
    }
};

TEST_F(TextureFiles, APlainFileIsWrittenWhole_EvenOverALongerReadOnlyOne_AndDeletedAtTheEnd) {
    for (const bool leftBefore : {false, true}) {
        if (leftBefore) {
            put(path, "an old, longer picture left by a run that did not end");
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        TextureFile texture(folder, path);
        ASSERT_TRUE(texture.write(picture)) << leftBefore;
        EXPECT_EQ(contents(path), std::string(picture.begin(), picture.end())) << leftBefore;
        texture.remove();
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << leftBefore;
    }
}

TEST_F(TextureFiles, AHardLinkOrAFileAnotherProgramKeepsOpenIsNeitherWrittenNorDeleted) {
    put(other, "someone else's file");
    ASSERT_TRUE(CreateHardLinkA(path.c_str(), other.c_str(), nullptr));
    TextureFile linked(folder, path);
    EXPECT_FALSE(linked.write(picture));
    linked.remove();
    EXPECT_EQ(contents(other), "someone else's file");
    EXPECT_EQ(contents(path), "someone else's file") << "the link itself is left alone too";

    ASSERT_TRUE(DeleteFileA(path.c_str()));
    put(path, "a file another program reads and lets nobody delete");
    const handles::KernelObject holder = handles::fileHandle(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    TextureFile held(folder, path);
    EXPECT_FALSE(held.write(picture));
    EXPECT_EQ(contents(path), "a file another program reads and lets nobody delete");
}

// Windows, and Wine between its own programs, enforce the share modes: while
// the saver holds the file nobody may open it to write or delete it, nor
// rename it or another file over it; the renderer's open, which shares
// reading and deleting but not writing, is let in and reads what was written.
TEST_F(TextureFiles, WhileHeldNobodyMayWriteDeleteOrRenameIt_TheRendererMayReadIt) {
    TextureFile texture(folder, path);
    ASSERT_TRUE(texture.write(picture));
    const std::string moved = folder + "\\moved.bmp";
    put(other, "a planted picture");
    struct Open {
        const char* what;
        DWORD access, share;
    };
    for (const Open& o : {Open{"for writing", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
                          Open{"for deleting", DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
                          Open{"for reading, sharing reading alone", GENERIC_READ, FILE_SHARE_READ}}) {
        const HANDLE h = CreateFileA(path.c_str(), o.access, o.share, nullptr, OPEN_EXISTING, 0, nullptr);
        const DWORD error = GetLastError();
        const handles::KernelObject owned = handles::fileHandle(h);
        EXPECT_FALSE(owned) << o.what;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << o.what;
    }
    EXPECT_FALSE(MoveFileA(path.c_str(), moved.c_str())) << "renamed away";
    EXPECT_FALSE(MoveFileExA(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) << "another renamed over it";
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    {
        const handles::KernelObject renderer = handles::fileHandle(CreateFileA(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(renderer);
        std::vector<std::uint8_t> read(picture.size() + 1);
        DWORD got = 0;
        ASSERT_TRUE(ReadFile(renderer.get(), read.data(), static_cast<DWORD>(read.size()), &got, nullptr));
        read.resize(got);
        EXPECT_EQ(read, picture);
    }
    texture.remove();
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(moved.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(contents(other), "a planted picture");
}

// An access list of exactly two entries, each allowing all rights: one for
// the user, one for the system.
void expectUserAndSystemAlone(PACL list, const char* what) {
    ASSERT_NE(list, nullptr) << what << ": no access list, everyone may do anything";
    const fulmina::ProcessUser user;
    std::vector<std::uint8_t> system = fulmina::localSystemSid();
    ASSERT_EQ(list->AceCount, 2u) << what;
    int forUser = 0, forSystem = 0;
    for (DWORD i = 0; i < list->AceCount; ++i) {
        ACE_HEADER* entry = nullptr;
        ASSERT_TRUE(GetAce(list, i, reinterpret_cast<void**>(&entry))) << what;
        ASSERT_EQ(entry->AceType, ACCESS_ALLOWED_ACE_TYPE) << what;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(entry);
        EXPECT_EQ(allowed->Mask & FILE_ALL_ACCESS, static_cast<DWORD>(FILE_ALL_ACCESS)) << what;
        forUser += EqualSid(&allowed->SidStart, user.user()) ? 1 : 0;
        forSystem += EqualSid(&allowed->SidStart, system.data()) ? 1 : 0;
    }
    EXPECT_EQ(forUser, 1) << what;
    EXPECT_EQ(forSystem, 1) << what;
}

// Whose the file is. Wine keeps no security descriptor for a file: it reports
// one made from the file's Unix mode, which the descriptor given at creation
// sets. So the file is read back as Wine reports it (owner and entries), and
// the descriptor the saver asks Windows for is read too (the entries, and that
// it inherits nothing from the folder).
TEST_F(TextureFiles, TheFileIsMadeForTheUserAlone) {
    TextureFile texture(folder, path);
    ASSERT_TRUE(texture.write(picture));
    PSID owner = nullptr;
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                    &owner, nullptr, &list, nullptr, &raw),
              static_cast<DWORD>(ERROR_SUCCESS));
    const handles::LocalMemory descriptor(raw);
    const fulmina::ProcessUser user;
    EXPECT_TRUE(owner != nullptr && EqualSid(owner, user.user())) << "owned by another";
    expectUserAndSystemAlone(list, "the file");

    fulmina::UserOnlySecurity asked;
    ASSERT_NE(asked.attributes(), nullptr);
    const PSECURITY_DESCRIPTOR given = asked.attributes()->lpSecurityDescriptor;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(given, &control, &revision));
    EXPECT_NE(control & SE_DACL_PROTECTED, 0) << "the folder's entries would be inherited";
    PSID givenOwner = nullptr;
    BOOL defaulted = TRUE, present = FALSE;
    ASSERT_TRUE(GetSecurityDescriptorOwner(given, &givenOwner, &defaulted));
    EXPECT_TRUE(givenOwner != nullptr && EqualSid(givenOwner, user.user()));
    PACL givenList = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(given, &present, &givenList, &defaulted));
    EXPECT_TRUE(present);
    expectUserAndSystemAlone(givenList, "the descriptor asked for");
    texture.remove();
}

TEST_F(TextureFiles, NoFolderOrAFileInPlaceOfTheFolderMeansNoTexture) {
    RemoveDirectoryA(folder.c_str());
    TextureFile missing(folder, path);
    EXPECT_FALSE(missing.write(picture));
    put(folder, "a file by the folder's name");
    TextureFile blocked(folder, path);
    EXPECT_FALSE(blocked.write(picture));
    EXPECT_EQ(contents(folder), "a file by the folder's name");
    DeleteFileA(folder.c_str());
}

}  // namespace
