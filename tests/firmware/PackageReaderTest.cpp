// The package reader against good and damaged packages, from a file and from memory, and the
// builder's round trip.
#include "PackageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>

namespace firmware::test {
namespace {

using Status = PackageReadStatus;

class PackageFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/fwpackage-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path write(const std::vector<std::uint8_t>& bytes) {
        const auto path = folder_ / "program";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::filesystem::path folder_;
};

constexpr std::uint32_t kMaxSize = std::numeric_limits<std::uint32_t>::max();

TEST_F(PackageFile, ReadsGoodPackagesAndRefusesDamagedOnes) {
    using Edit = std::function<void(std::vector<std::uint8_t>&)>;
    auto info = [](std::function<void(FirmwareInfoBlock&)> edit) -> Edit {
        return [edit](std::vector<std::uint8_t>& file) { editInfo(file, edit); };
    };
    const struct Row {
        const char* name;
        Edit edit;
        Status status;
        std::vector<PackageMessage> messages;
    } rows[] = {
        {"good", [](auto&) {}, Status::Ok, {}},
        {"package alone, no program bytes", [](auto& f) { f.erase(f.begin(), f.begin() + 333); }, Status::Ok, {}},
        {"empty file", [](auto& f) { f.clear(); }, Status::CannotRead, {PackageMessage::CannotRead}},
        {"shorter than the information block", [](auto& f) { f.erase(f.begin(), f.end() - kInfoBlockBytes + 1); },
         Status::CannotRead, {PackageMessage::CannotRead}},
        {"truncated at the end", [](auto& f) { f.resize(f.size() - 5); }, Status::NoInformation,
         {PackageMessage::NoInformation}},
        {"wrong marker", info([](auto& i) { i.marker[3] = 'b'; }), Status::NoInformation, {PackageMessage::NoInformation}},
        {"marker without its zero bytes", info([](auto& i) { i.marker[9] = '!'; }), Status::NoInformation,
         {PackageMessage::NoInformation}},
        {"entries cut off at the front", [](auto& f) { f.erase(f.begin(), f.begin() + 334); }, Status::EntryUnreadable, {}},
        {"image larger than the file", info([](auto& i) { i.entries[0].imageBytes = 1u << 30; }), Status::EntryUnreadable, {}},
        {"version block larger than the file", info([](auto& i) { i.entries[8].versionBlockBytes = kMaxSize; }),
         Status::EntryUnreadable, {}},
        {"sizes that wrap 32 bits", info([](auto& i) {
             i.entries[4].imageBytes = kMaxSize;
             i.entries[4].versionBlockBytes = 2;
         }), Status::EntryUnreadable, {}},
        {"sizes of several entries that wrap together", info([](auto& i) {
             i.entries[1].imageBytes = 0x80000000u;
             i.entries[2].imageBytes = 0x80000000u;
         }), Status::EntryUnreadable, {}},
        {"empty image whose version block still takes room", info([](auto& i) { i.entries[5].versionBlockBytes = 100000; }),
         Status::EntryUnreadable, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto bytes = programWithPackage(samplePackage());
        row.edit(bytes);
        RecordedMessages fromFile, fromMemory;
        const PackageReadResult read = readPackage(write(bytes), fromFile);
        EXPECT_EQ(read.status, row.status);
        EXPECT_EQ(fromFile.shown, row.messages);
        EXPECT_EQ(read.package.has_value(), row.status == Status::Ok);
        EXPECT_EQ(read.info.has_value(), row.status == Status::Ok || row.status == Status::EntryUnreadable)
            << "the information block is given out only with its marker";
        EXPECT_EQ(readPackageBytes(bytes, fromMemory).status, row.status);
        EXPECT_EQ(fromMemory.shown, row.messages);
    }
}

TEST_F(PackageFile, MissingFileCannotBeOpened) {
    RecordedMessages messages;
    EXPECT_EQ(readPackage(folder_ / "absent", messages).status, Status::CannotOpen);
    EXPECT_EQ(messages.shown, std::vector{PackageMessage::CannotOpen});
    EXPECT_EQ(packageMessageText(PackageMessage::CannotOpen).text, "Can not open Program file!\n");
    EXPECT_EQ(packageMessageText(PackageMessage::NoInformation).caption, "Error");
}

TEST_F(PackageFile, BuiltPackageReadsBackTheSameImagesVersionsAndFields) {
    const fwpack::PackageSource source = samplePackage();
    RecordedMessages messages;
    const PackageReadResult read = readPackage(write(programWithPackage(source)), messages);
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(messages.shown.empty());
    const FirmwarePackage& package = *read.package;
    for (std::size_t i = 0; i < kPackageEntryCount; ++i) {
        SCOPED_TRACE(i);
        const FirmwareImageEntry& entry = package.info.entries[i];
        const auto& given = source.entries[i];
        if (!given) {
            EXPECT_EQ(entry.imageBytes, 0u);
            EXPECT_EQ(entry.versionBlockBytes, 0u);
            EXPECT_TRUE(package.entries[i].image.empty());
            continue;
        }
        EXPECT_EQ(package.entries[i].image, given->image);
        EXPECT_EQ(package.entries[i].versionBlock, given->versionBlock);
        EXPECT_EQ(storedText(entry.name), given->name);
        EXPECT_EQ(entry.layoutId, given->layoutId);
        EXPECT_EQ((Version{entry.versionMajor, entry.versionMinor, entry.versionBuild}), given->version);
    }
    EXPECT_EQ(package.info.signature[0], 'S');
    EXPECT_EQ(package.info.targetIndex, 2);
    EXPECT_EQ(package.info.bootLoaderProductId, 0x0050u);
    EXPECT_EQ(package.info.applicationProductId, 0x004Fu);
    EXPECT_EQ(package.info.bytesPerWrite, 48);
    EXPECT_EQ(storedText(package.info.title), u"Updater");
    EXPECT_EQ(storedText(package.info.version), u"V1.10");
}

TEST(PackageText, StoredTextsStopAtTheirZeroOrTheirField) {
    char16_t field[4];
    storeText(field, u"abcdef");
    EXPECT_EQ(storedText(field), u"abc") << "cut to leave room for the zero";
    const char16_t full[3] = {u'x', u'y', u'z'};
    EXPECT_EQ(storedText(full), u"xyz") << "no zero: the field's end";
}

}  // namespace
}  // namespace firmware::test
