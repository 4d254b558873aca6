#include "inspect/ShowCommand.h"

#include "formats/ToviFileformDoc.h"
#include "inspect/SheetSummary.h"
#include "system/Process.h"
#include "system/StdStreams.h"
#include "text/CodePage.h"
#include "text/MessageBox.h"
#include "text/Numbers.h"

#include <nlohmann/json.hpp>

namespace {

const char* LayoutWord(int nKind)
{
    switch (nKind) {
    case -1:
        return "undecided";
    case 0:
        return "decorations";
    case 1:
        return "fixed";
    case 2:
        return "free";
    default:
        return "unknown";
    }
}

std::string LayoutText(int nKind)
{
    switch (nKind) {
    case -1:
        return ByUserLanguage("未定", "not decided");
    case 0:
        return ByUserLanguage("シート装飾", "sheet decorations");
    case 1:
        return ByUserLanguage("固定ラベル", "fixed labels");
    case 2:
        return ByUserLanguage("自由ラベル", "free labels");
    default:
        return ByUserLanguage("不明 (", "unknown (") + FormatInt(nKind) + ")";
    }
}

std::string SizeText(const std::optional<double>& dSize)
{
    return dSize ? FormatReal(*dSize, 2) : std::string("?");
}

nlohmann::ordered_json NamesJson(const std::vector<std::string>& lstNames)
{
    nlohmann::ordered_json names = nlohmann::ordered_json::array();
    for (const std::string& strName : lstNames)
        names.push_back(Cp932ToUtf8(strName));
    return names;
}

nlohmann::ordered_json SizeJson(const std::optional<double>& dSize)
{
    return dSize ? nlohmann::ordered_json(*dSize) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json SheetJson(const SSheetSummary& sheet)
{
    nlohmann::ordered_json support = nlohmann::ordered_json::array();
    for (const SSupportSummary& record : sheet.lstSupport)
        support.push_back({{"type", record.nType},
                           {"version", Cp932ToUtf8(record.strVersion)},
                           {"groups", NamesJson(record.lstGroups)},
                           {"wizardGroups", NamesJson(record.lstWizards)}});
    return {{"group", Cp932ToUtf8(sheet.strGroup)},
            {"name", Cp932ToUtf8(sheet.strName)},
            {"layoutKind", sheet.nLayoutKind},
            {"layout", LayoutWord(sheet.nLayoutKind)},
            {"width", SizeJson(sheet.dWidth)},
            {"height", SizeJson(sheet.dHeight)},
            {"orientation", sheet.nOrientation},
            {"sheetClass", sheet.nSheetClass},
            {"sheetIndex", sheet.nSheetIndex},
            {"elements", sheet.nElementNum},
            {"labels", sheet.nLabelNum},
            {"decorations", sheet.nDecoNum},
            {"support", support}};
}

std::string SheetText(int nNumber, const SSheetSummary& sheet)
{
    std::string str = ByUserLanguage("シート ", "Sheet ") + FormatInt(nNumber) + "\n";
    str += ByUserLanguage("  グループ:   ", "  Group:        ") + Cp932ToUtf8(sheet.strGroup) + "\n";
    str += ByUserLanguage("  名前:       ", "  Name:         ") + Cp932ToUtf8(sheet.strName) + "\n";
    str += ByUserLanguage("  レイアウト: ", "  Layout:       ") + LayoutText(sheet.nLayoutKind) + "\n";
    str += ByUserLanguage("  用紙:       ", "  Paper:        ") + SizeText(sheet.dWidth) + " x " +
           SizeText(sheet.dHeight) + ByUserLanguage(" mm、向き ", " mm, orientation ") + FormatInt(sheet.nOrientation) +
           "\n";
    str += ByUserLanguage("  要素:       ", "  Elements:     ") + FormatInt(sheet.nElementNum) +
           ByUserLanguage("、ラベル ", ", labels ") + std::to_string(sheet.nLabelNum) +
           ByUserLanguage("、装飾 ", ", decorations ") + FormatInt(sheet.nDecoNum) + "\n";
    for (const SSupportSummary& record : sheet.lstSupport) {
        std::string strGroups;
        for (const std::string& strName : record.lstGroups)
            strGroups += (strGroups.empty() ? "" : ", ") + Cp932ToUtf8(strName);
        str += ByUserLanguage("  サポート:   種類 ", "  Support:      type ") + FormatInt(record.nType) +
               ByUserLanguage("、バージョン ", ", version ") + Cp932ToUtf8(record.strVersion) +
               ByUserLanguage("、グループ ", ", groups ") + strGroups + "\n";
    }
    return str;
}

}  // namespace

int RunShow(const std::string& strPath, bool bJson)
{
    // The model's own reports of a damaged file go to standard error, as in
    // batch conversion; standard output holds the report alone.
    CStreamMessageBox box;
    const CMessageBoxScope scope(&box);
    std::string strOut;
    std::string strError;
    const int nStatus = MakeShowReport(strPath, bJson, strOut, strError);
    WriteToStdError(strError);
    return WriteToStdOutput(strOut) ? nStatus : 1;
}

int MakeShowReport(const std::string& strPath, bool bJson, std::string& strOut, std::string& strError)
{
    CToviFileformDoc doc;
    ESheetFileVersion eVersion = ESheetFileVersion::Version34;
    switch (ReadAnySheetFile(strPath, doc, eVersion)) {
    case EReadResult::NotOpened:
        strError = std::string("toviconv: ") +
                   ByUserLanguage("ファイルを読み込めません: ", "the file cannot be read: ") + strPath + "\n";
        return 1;
    case EReadResult::NotUserSheets:
        strError = std::string("toviconv: ") +
                   ByUserLanguage("ユーザシートのファイルではありません: ", "not a user-sheet file: ") + strPath + "\n";
        return 1;
    case EReadResult::Ok:
        break;
    }

    std::vector<SSheetSummary> lstSheets;
    lstSheets.reserve(static_cast<std::size_t>(doc.GetSheetNum()));
    for (int i = 0; i < doc.GetSheetNum(); ++i)
        lstSheets.push_back(SummarizeSheet(*doc.GetSheet(i)));
    long long nElementNum = 0;
    long long nLabelNum = 0;
    long long nDecoNum = 0;
    for (const SSheetSummary& sheet : lstSheets) {
        nElementNum += sheet.nElementNum;
        nLabelNum += sheet.nLabelNum;
        nDecoNum += sheet.nDecoNum;
    }

    if (bJson) {
        nlohmann::ordered_json sheets = nlohmann::ordered_json::array();
        for (const SSheetSummary& sheet : lstSheets)
            sheets.push_back(SheetJson(sheet));
        const nlohmann::ordered_json document = {{"file", strPath},
                                                 {"version", VersionName(eVersion)},
                                                 {"sheets", sheets},
                                                 {"total",
                                                  {{"sheets", lstSheets.size()},
                                                   {"elements", nElementNum},
                                                   {"labels", nLabelNum},
                                                   {"decorations", nDecoNum}}}};
        // A path that is not UTF-8 must not stop the report.
        strOut = document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    } else {
        strOut = strPath + ByUserLanguage(": バージョン ", ": version ") + VersionName(eVersion) +
                 ByUserLanguage(" のユーザシートファイル\n", " user-sheet file\n");
        for (std::size_t i = 0; i < lstSheets.size(); ++i)
            strOut += SheetText(static_cast<int>(i + 1), lstSheets[i]);
        strOut += ByUserLanguage("合計: シート ", "Total: sheets ") + std::to_string(lstSheets.size()) +
                  ByUserLanguage("、要素 ", ", elements ") + std::to_string(nElementNum) +
                  ByUserLanguage("、ラベル ", ", labels ") + std::to_string(nLabelNum) +
                  ByUserLanguage("、装飾 ", ", decorations ") + std::to_string(nDecoNum) + "\n";
    }
    return 0;
}
