// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The compound file around an .xls workbook, written byte by byte and then damaged
// one structure at a time: every damage is refused with its reason, never read as
// other bytes.
#include "sheet/compound_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sheet/xls_bytes.h"

namespace taxcalc {
namespace {

std::string Noise(std::size_t size) {
    std::string bytes;
    for (std::uint32_t value = 29; bytes.size() < size;) {
        value = value * 1103515245 + 12345;
        bytes += static_cast<char>(value >> 16);
    }
    return bytes;
}

void Put32(std::string &file, std::size_t at, std::uint32_t value) {
    file.replace(at, 4, test::Le32(value));
}

// One stream of 5000 bytes: the FAT in sector 0, the directory in sector 1, the
// stream in sectors 2 to 11 (padded to 5120 bytes).
constexpr std::size_t kFat = 512;
constexpr std::size_t kStreamEntry = 1024 + 128;

TEST(CompoundFile, ReadsTheStreamsItHolds) {
    const std::string data = Noise(5000);
    std::string file = test::CompoundBytes({{u"Workbook", data}, {u"\x05SummaryInformation", Noise(100)}});
    CompoundFile compound;
    std::string error;
    ASSERT_TRUE(compound.Open(file, error)) << error;
    EXPECT_TRUE(compound.Has("workbook"));
    EXPECT_TRUE(compound.Has("WORKBOOK"));
    EXPECT_FALSE(compound.Has("Book"));
    std::string stream;
    ASSERT_TRUE(compound.Read("Workbook", stream, error)) << error;
    EXPECT_EQ(stream.substr(0, data.size()), data);
    EXPECT_EQ(stream.size(), 5120U);
}

// More than 109 FAT sectors: the rest are listed in the DIFAT chain.
TEST(CompoundFile, FollowsTheDifatChain) {
    const std::string data = Noise(std::size_t{8} << 20);
    std::string file = test::CompoundBytes({{u"Workbook", data}});
    ASSERT_NE(file.substr(68, 4), test::Le32(0xFFFFFFFE));
    CompoundFile compound;
    std::string error;
    ASSERT_TRUE(compound.Open(file, error)) << error;
    std::string stream;
    ASSERT_TRUE(compound.Read("Workbook", stream, error)) << error;
    EXPECT_EQ(stream, data);

    // The DIFAT sector naming itself as the next one, once more FAT sectors are declared.
    const std::size_t fatSectors = static_cast<unsigned char>(file[44]) | static_cast<unsigned char>(file[45])
                                                                              << 8;
    const std::size_t difat = 512 * (1 + fatSectors);
    Put32(file, 44, static_cast<std::uint32_t>(fatSectors + 127));
    Put32(file, difat + 508, static_cast<std::uint32_t>(fatSectors));
    EXPECT_FALSE(CompoundFile().Open(file, error));
    EXPECT_NE(error.find("DIFAT 链成环"), std::string::npos) << error;
}

TEST(CompoundFile, RefusesEachDamageWithItsReason) {
    const std::string whole = test::CompoundBytes({{u"Workbook", Noise(5000)}});
    struct Case {
        const char *What;
        std::string File;
        const char *Reason;
    };
    const auto patched = [&](std::size_t at, std::uint32_t value) {
        std::string file = whole;
        Put32(file, at, value);
        return file;
    };
    const std::vector<Case> cases{
        {"a header cut short", whole.substr(0, 511), "文件头不完整"},
        {"another byte order", patched(28, 0xFFFF), "文件头无效"},
        {"sectors of 1 KiB in version 3", patched(30, 10), "文件头无效"},
        {"more FAT sectors than the file", patched(44, 100), "扇区分配表比文件还大"},
        {"a FAT sector past the end", patched(76, 5000), "扇区分配表指向文件之外"},
        {"a directory past the end", patched(48, 5000), "扇区链指向文件之外"},
        {"a directory chain that loops", patched(kFat + 4, 1), "扇区链成环"},
        {"a stream's chain that loops", patched(kFat + 4 * 6, 3), "扇区链成环"},
        {"a stream's chain ending early", patched(kFat + 4 * 6, 0xFFFFFFFE), "扇区链短于流的大小"},
        {"a stream's chain leaving the file", patched(kFat + 4 * 6, 70000), "扇区链指向文件之外"},
        {"a stream larger than the file", patched(kStreamEntry + 120, 1U << 30), "流的大小超出文件"},
        {"a directory entry naming itself", patched(kStreamEntry + 72, 1), "目录成环"},
        {"a directory entry past the directory", patched(kStreamEntry + 72, 9), "目录项指向目录之外"},
        {"a root that is no root", patched(1024 + 64, 0x0001'0000 | 22), "目录的根项无效"},
        {"a file cut inside the stream", whole.substr(0, whole.size() - 700), "扇区链指向文件之外"},
        {"a file cut inside its last sector", whole.substr(0, whole.size() - 100), "文件被截断"},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.What);
        CompoundFile compound;
        std::string error;
        std::string stream;
        const bool read = compound.Open(test.File, error) && compound.Read("Workbook", stream, error);
        EXPECT_FALSE(read);
        EXPECT_NE(error.find(test.Reason), std::string::npos) << error;
        EXPECT_NE(error.find("文件已损坏"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace taxcalc
