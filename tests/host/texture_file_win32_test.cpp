// The glow texture file in a folder others may change: what the saver writes
// and deletes there, given plain files, hard links and a name swapped during
// the run. (Symbolic links and linked folders are planted from outside
// Windows by the end-to-end tests.)
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/texture_file_win32.h"

namespace {

using fulmina::TextureFile;

const std::string folder = "C:\\fulmina_texture_test";
const std::string path = folder + "\\Fulmina.bmp";
const std::string other = "C:\\fulmina_texture_test_other.bin";
const std::vector<std::uint8_t> picture = {'B', 'M', 1, 2, 3, 4, 5, 6};

std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string("(none)");
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
        // The renderer's picture loader may open it for itself alone.
        const HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(reader, INVALID_HANDLE_VALUE) << leftBefore;
        CloseHandle(reader);
        texture.remove();
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << leftBefore;
    }
}

TEST_F(TextureFiles, AHardLinkToAnotherFileIsNeitherWrittenNorDeleted) {
    put(other, "someone else's file");
    ASSERT_TRUE(CreateHardLinkA(path.c_str(), other.c_str(), nullptr));
    TextureFile texture(folder, path);
    EXPECT_FALSE(texture.write(picture));
    texture.remove();
    EXPECT_EQ(contents(other), "someone else's file");
    EXPECT_EQ(contents(path), "someone else's file") << "the link itself is left alone too";
}

TEST_F(TextureFiles, WhatTheRunWroteIsDeleted_NotWhatTheNameLeadsToAtTheEnd) {
    TextureFile texture(folder, path);
    ASSERT_TRUE(texture.write(picture));
    const std::string moved = folder + "\\moved.bmp";
    ASSERT_TRUE(MoveFileA(path.c_str(), moved.c_str()));
    put(path, "planted during the run");
    texture.remove();
    EXPECT_EQ(contents(path), "planted during the run");
    // Windows deletes the moved file through the handle; Wine, which reopens
    // a handle by the name it was opened with, leaves it rather than delete
    // the planted one. Either way nothing but the run's own file is touched.
    EXPECT_EQ(contents(moved), GetFileAttributesA(moved.c_str()) == INVALID_FILE_ATTRIBUTES
                                   ? "(none)"
                                   : std::string(picture.begin(), picture.end()));
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
