// "toviconv preview": the pictures of known and hostile sheets open in a real
// SVG renderer, with every label drawn, and no text of a sheet is markup.

#include "inspect/PreviewCommand.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

/// True when rsvg-convert draws the picture (or only the element with the
/// id) into a PNG file beside it without an error.
bool Renders(const std::string& strSvg, const std::string& strId = "")
{
    const std::string strExport = strId.empty() ? "" : " --export-id=" + strId;
    return std::system(("rsvg-convert" + strExport + " -o '" + strSvg + ".png' '" + strSvg + "' </dev/null 2>/dev/null")
                           .c_str()) == 0;
}

/// The renderer is a program of the Linux test machine: under Windows the
/// pictures are checked as text only.
#ifdef _WIN32
const bool kHaveRenderer = false;
#else
const bool kHaveRenderer = std::system("rsvg-convert --version >/dev/null 2>&1 </dev/null") == 0;
#endif

}  // namespace

TEST(PreviewTest, TheCardSheetIsDrawnLabelByLabelAndRendered)
{
    // Kept under the build folder to look at: preview/index.html.
    const std::string strFolder = TOVICONV_PREVIEW_DIR;
    std::filesystem::remove_all(strFolder);
    ASSERT_EQ(RunPreview(TestDataPath("card_v2.FDF"), strFolder), 0);
    EXPECT_EQ(ListFolder(strFolder), "index.html sheet-001.svg");
    const std::string strSvg = ReadWholeFile(strFolder + "/sheet-001.svg");
    EXPECT_TRUE(strSvg.find("id=\"label-2\"") != std::string::npos && strSvg.find("label-3") == std::string::npos);
    EXPECT_NE(strSvg.find("class=\"paper\" x=\"0\" y=\"0\" width=\"91.000\" height=\"55.000\""), std::string::npos);
    EXPECT_NE(ReadWholeFile(strFolder + "/index.html").find("<img src=\"sheet-001.svg\" alt=\"Card 10\">"),
              std::string::npos);
    if (!kHaveRenderer)
        GTEST_SKIP() << "not rendered: no rsvg-convert (librsvg2-bin) here, or Windows";
    // The renderer finds every label the picture claims, and no more; the
    // whole picture is drawn last, into sheet-001.svg.png.
    EXPECT_TRUE(Renders(strFolder + "/sheet-001.svg", "label-2"));
    EXPECT_FALSE(Renders(strFolder + "/sheet-001.svg", "label-3"));
    EXPECT_TRUE(Renders(strFolder + "/sheet-001.svg"));
}

TEST(PreviewTest, EveryGoldenAndSeedFileRendersAndNamesStayText)
{
    CTempFolder folder;
    const std::string strHostile = folder.File("USER.YLI");
    WriteWholeFile(strHostile,
                   "GroupName = <b>&amp;\r\nProductName = <script>alert('x\x01')</script>\"&\r\n"
                   "SheetType = 0,2,0,0\r\nFree = 1,10,10\r\nFreePos = 5,5\r\n");
    std::vector<std::string> arFiles = {strHostile, TestDataPath("card_v2.FDF"), TestDataPath("card_v5.YLI")};
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TOVICONV_FUZZ_DIR) + "/seeds"))
        arFiles.push_back(entry.path().string());

    for (std::size_t i = 0; i < arFiles.size(); ++i) {
        SCOPED_TRACE(arFiles[i]);
        const std::string strOut = folder.File("out" + std::to_string(i));
        ASSERT_EQ(RunPreview(arFiles[i], strOut), 0);
        for (const auto& entry : std::filesystem::directory_iterator(strOut)) {
            const std::string strText = ReadWholeFile(entry.path().string());
            EXPECT_EQ(strText.find("<script"), std::string::npos);
            EXPECT_EQ(strText.find("<b>"), std::string::npos);
            if (kHaveRenderer && entry.path().extension() == ".svg") {
                EXPECT_TRUE(Renders(entry.path().string())) << entry.path();
            }
        }
    }
    const std::string strIndex = ReadWholeFile(folder.File("out0/index.html"));
    EXPECT_NE(strIndex.find("&lt;script&gt;alert(&#39;x\xEF\xBF\xBD&#39;)&lt;/script&gt;&quot;&amp;"),
              std::string::npos)
        << strIndex;
    EXPECT_NE(strIndex.find("&lt;b&gt;&amp;amp;"), std::string::npos) << strIndex;
}
