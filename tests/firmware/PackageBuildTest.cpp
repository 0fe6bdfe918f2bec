// The package that the build appended to a dummy program (halcyra_append_firmware_package): it reads
// back with the images the build made, those images are ones the virtual controller boots and newer
// than a fresh one, and the program still runs.
#include "firmware/ApplicationImage.h"
#include "firmware/ImageSelection.h"
#include "firmware/PackageReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace firmware {
namespace {

class IgnoredMessages : public PackageMessageSink {
public:
    void show(PackageMessage message) override { ADD_FAILURE() << "message " << static_cast<int>(message); }
};

std::vector<std::uint8_t> fileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(BuildTimePackage, ReadsBackTheBuiltImagesAndTheProgramStillRuns) {
    IgnoredMessages messages;
    const PackageReadResult read = readPackage(PACKED_PROGRAM, messages);
    ASSERT_TRUE(read.ok());
    const FirmwarePackage& package = *read.package;
    EXPECT_EQ(storedText(package.info.version), u"V1.10");
    EXPECT_EQ(package.info.bootLoaderProductId, 0x0050u) << "the tool's default ids";
    EXPECT_EQ(package.info.bytesPerWrite, 60);

    const auto image = fileBytes(PACKED_IMAGE);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(package.entries[0].image, image);
    EXPECT_EQ(package.entries[0].versionBlock, fileBytes(PACKED_VERSION_BLOCK));
    EXPECT_EQ(storedText(package.info.entries[0].name), u"Main");
    EXPECT_EQ(checkApplicationImage(image), ImageState::Valid);

    FwInfo controller;
    const char signature[] = "HALCYRA-VCTRL-01";
    std::copy_n(signature, controller.signature.size(), controller.signature.begin());
    controller.layoutId = 1;
    ASSERT_EQ(selectImage(package.info, controller), 0);
    EXPECT_TRUE(isNewer(package.info.entries[0], Version{1, 0, 100})) << "newer than a fresh virtual controller";
    std::array<std::uint8_t, kRecordBytes> apInfo;
    std::copy_n(image.begin(), kRecordBytes, apInfo.begin());
    EXPECT_EQ(decodeApInfo(apInfo), entryVersion(package.info.entries[0])) << "the image's header agrees with its entry";

    const int status = std::system((std::string(PACKED_PROGRAM) + " > /dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
}

}  // namespace
}  // namespace firmware
