// "toviconv show": known files give known values, and the JSON document of
// every golden and generated file, of every version, parses and agrees with
// the model read from the same file.

#include "formats/ToviFileformDoc.h"
#include "inspect/SheetSummary.h"
#include "inspect/ShowCommand.h"
#include "model/Sheet.h"
#include "system/StdStreams.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/ScriptedMessageBox.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace {

nlohmann::json ShowJson(const std::string& strPath)
{
    std::string strOut;
    std::string strError;
    EXPECT_EQ(MakeShowReport(strPath, true, strOut, strError), 0) << strError;
    EXPECT_EQ(strError, "");
    return nlohmann::json::parse(strOut);  // throws, and fails the test, when it does not parse
}

/// The JSON of the file against the model read from it, field by field.
void ExpectJsonAgreesWithModel(const std::string& strPath)
{
    SCOPED_TRACE(strPath);
    const nlohmann::json report = ShowJson(strPath);
    CToviFileformDoc doc;
    ESheetFileVersion eVersion = ESheetFileVersion::Version2;
    ASSERT_EQ(ReadAnySheetFile(strPath, doc, eVersion), EReadResult::Ok);
    EXPECT_EQ(report["version"], VersionName(eVersion));
    ASSERT_EQ(report["sheets"].size(), static_cast<std::size_t>(doc.GetSheetNum()));
    for (int i = 0; i < doc.GetSheetNum(); ++i) {
        const CSheet& sheet = *doc.GetSheet(i);
        const nlohmann::json& item = report["sheets"][static_cast<std::size_t>(i)];
        EXPECT_EQ(item["name"], Cp932ToUtf8(sheet.m_bVersion34 ? sheet.GetProductName() : sheet.GetSheetName()));
        EXPECT_EQ(item["layoutKind"], sheet.m_nSheetType);
        EXPECT_EQ(item["support"].size(), sheet.GetSupportList().size());
        std::size_t nElements = 0;
        long long nLabels = 0;
        if (sheet.m_nSheetType == 1 || sheet.m_nSheetType == 2) {
            const auto& lstElements = sheet.m_nSheetType == 1 ? sheet.GetFixedList() : sheet.GetFreeList();
            nElements = lstElements.size();
            for (const auto& pElem : lstElements)
                nLabels += sheet.m_nSheetType == 2 ? 1 : pElem->m_arHorPos.size() * pElem->m_arVerPos.size();
        }
        EXPECT_EQ(item["elements"], nElements);
        EXPECT_EQ(item["labels"], nLabels);
    }
    EXPECT_EQ(report["total"]["sheets"], doc.GetSheetNum());
}

}  // namespace

TEST(ShowTest, TheCardSheetReadsTheSameFromVersion2AndVersion5)
{
    const nlohmann::json expected = nlohmann::json::parse(R"({"group": "Card", "name": "Card 10", "layoutKind": 1,
        "layout": "fixed", "width": 91.0, "height": 55.0, "orientation": 0, "sheetClass": 0, "sheetIndex": 5,
        "elements": 1, "labels": 2, "decorations": 1})");
    for (const char* pName : {"card_v2.FDF", "card_v5.YLI"}) {
        nlohmann::json sheet = ShowJson(TestDataPath(pName))["sheets"].at(0);
        EXPECT_EQ(sheet["support"].size(), pName[6] == '2' ? 1u : 0u) << pName;
        sheet.erase("support");
        EXPECT_EQ(sheet, expected) << pName;
    }
    std::string strOut;
    std::string strError;
    EXPECT_EQ(MakeShowReport(TestDataPath("card_v5.YLI"), false, strOut, strError), 0);
    EXPECT_NE(strOut.find("91.00 x 55.00 mm"), std::string::npos) << strOut;
}

TEST(ShowTest, NamesComeAsUtf8AndWhatHoldsNoSheetKeywordIsRefusedInOneLine)
{
    CTempFolder folder;
    const std::string strFile = folder.File("USER.YLI");
    // あ, then ｺﾝ in half-width katakana, then a byte of no character.
    WriteWholeFile(strFile, "GroupName = \x82\xA0\r\nProductName = \xBA\xDD\x80<&>\r\n");
    const nlohmann::json sheet = ShowJson(strFile)["sheets"].at(0);
    EXPECT_EQ(sheet["group"], "\xE3\x81\x82");
    EXPECT_EQ(sheet["name"], "\xEF\xBD\xBA\xEF\xBE\x9D\xEF\xBF\xBD<&>");
    EXPECT_EQ(sheet["width"], nullptr);

    WriteWholeFile(folder.File("notes.txt"), "Dear user,\r\n; this is no sheet = at all\r\n");
    for (const std::string& strPath : {folder.File("notes.txt"), folder.File("missing.YLI")}) {
        std::string strOut;
        std::string strError;
        EXPECT_EQ(MakeShowReport(strPath, true, strOut, strError), 1);
        EXPECT_TRUE(strOut.empty() && strError.starts_with("toviconv: ") && strError.ends_with(strPath + "\n"));
        EXPECT_EQ(std::count(strError.begin(), strError.end(), '\n'), 1) << strError;
    }
}

TEST(ShowTest, EveryGoldenSeedAndGeneratedFileOfEveryVersionAgreesWithTheModel)
{
    CScriptedMessageBox box;  // the model's reports of the hostile files
    ExpectJsonAgreesWithModel(TestDataPath("card_v2.FDF"));
    ExpectJsonAgreesWithModel(TestDataPath("card_v5.YLI"));
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TOVICONV_FUZZ_DIR) + "/seeds"))
        ExpectJsonAgreesWithModel(entry.path().string());

    CTempFolder folder;
    for (unsigned nSeed = 0; nSeed < 40; ++nSeed) {
        for (const char* pName : {"USER.FDF", "USER.YLI"}) {
            const std::string strLegacy = folder.File(pName);
            WriteWholeFile(strLegacy, MakeHostileFile(nSeed, pName[5] == 'F'));
            ExpectJsonAgreesWithModel(strLegacy);
            CToviFileformDoc doc;
            doc.ReadLegacyFile(strLegacy);
            if (doc.GetSheetNum() > 0 && doc.WriteVersion5File(folder.File("V5.YLI")) == 1)
                ExpectJsonAgreesWithModel(folder.File("V5.YLI"));
        }
    }
}
