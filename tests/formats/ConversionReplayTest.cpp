// The fuzzer's seeds and every input it ever found, converted again through
// its own check.

#include "formats/Version5Writer.h"
#include "fuzz/ConversionCheck.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

/// The inputs of a folder of the fuzzer, sorted (its README aside).
std::vector<std::string> ListInputs(std::string_view folder)
{
    std::vector<std::string> paths;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TOVICONV_FUZZ_DIR) + "/" + std::string(folder))) {
        if (entry.is_regular_file() && entry.path().extension() != ".md")
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

TEST(ConversionReplayTest, SeedsAndFoundInputsConvertSoundly)
{
    std::vector<std::string> paths = ListInputs("seeds");
    EXPECT_GE(paths.size(), 5u);
    for (std::string& strPath : ListInputs("regressions"))
        paths.push_back(std::move(strPath));

    CConversionCheck check;
    for (const std::string& strPath : paths)
        EXPECT_EQ(check.CheckBytes(ReadWholeFile(strPath)), "") << strPath;
}

TEST(ConversionReplayTest, FaultsOfAnOutputAreFound)
{
    const std::string strBody = "GroupName = A\r\n\r\n\r\nEND\r\n";
    const std::string strSound = std::string(kVersion5Header) + strBody;
    EXPECT_EQ(CheckVersion5Text(strSound), "");
    EXPECT_NE(CheckVersion5Text(strBody), "");                                  // no header
    EXPECT_NE(CheckVersion5Text(strSound.substr(0, strSound.size() - 2)), "");  // no last line end
    EXPECT_NE(CheckVersion5Text(std::string(kVersion5Header) + "GroupName = A\n\r\n\r\nEND\r\n"), "");  // LF alone
    EXPECT_NE(CheckVersion5Text(std::string(kVersion5Header) + "Group = A\r\n\r\n\r\nEND\r\n"), "");    // unknown key
}
