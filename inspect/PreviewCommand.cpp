#include "inspect/PreviewCommand.h"

#include "formats/ToviFileformDoc.h"
#include "formats/Version5Writer.h"
#include "inspect/SheetSummary.h"
#include "model/Sheet.h"
#include "system/Backup.h"
#include "system/FileIo.h"
#include "system/Process.h"
#include "system/StdStreams.h"
#include "text/CodePage.h"
#include "text/MessageBox.h"
#include "text/Numbers.h"
#include "text/Path.h"
#include "text/TerminalText.h"

#include <algorithm>
#include <cmath>

namespace {

/// Labels and decorations drawn at most per sheet: a file may lay out a
/// million labels, which no browser shows any better than a hundred thousand.
constexpr long long kMaxShapes = 100000;

/// Beyond a hundred metres a number is not a sheet's: such items are left
/// out of the picture rather than shrinking everything else to nothing.
constexpr double kMaxDrawn = 100000.0;

bool Drawable(double dValue)
{
    return std::isfinite(dValue) && std::fabs(dValue) <= kMaxDrawn;
}

std::string Mm(double dValue)
{
    return FormatReal(dValue, 3);
}

/// The rectangle that holds everything drawn, grown item by item.
struct SBounds {
    double dLeft = 0.0;
    double dTop = 0.0;
    double dRight = 0.0;
    double dBottom = 0.0;
    bool bEmpty = true;

    void Add(double dX1, double dY1, double dX2, double dY2)
    {
        if (bEmpty) {
            dLeft = std::min(dX1, dX2);
            dTop = std::min(dY1, dY2);
            dRight = std::max(dX1, dX2);
            dBottom = std::max(dY1, dY2);
            bEmpty = false;
            return;
        }
        dLeft = std::min({dLeft, dX1, dX2});
        dTop = std::min({dTop, dY1, dY2});
        dRight = std::max({dRight, dX1, dX2});
        dBottom = std::max({dBottom, dY1, dY2});
    }
};

/// Builds the shapes of one sheet.
class CSvgSheet {
public:
    explicit CSvgSheet(CSheet& sheet) : m_sheet(sheet) {}

    std::string Make(long long& nDrawnLabels)
    {
        const SSheetSummary summary = SummarizeSheet(m_sheet);
        const bool bPaper = summary.dWidth && summary.dHeight && Drawable(*summary.dWidth) &&
                            Drawable(*summary.dHeight) && *summary.dWidth > 0.0 && *summary.dHeight > 0.0;
        if (bPaper) {
            m_bounds.Add(0.0, 0.0, *summary.dWidth, *summary.dHeight);
            m_strShapes += "<rect class=\"paper\" x=\"0\" y=\"0\" width=\"" + Mm(*summary.dWidth) + "\" height=\"" +
                           Mm(*summary.dHeight) + "\"/>\n";
        }
        switch (m_sheet.m_nSheetType) {
        case 0:
            for (int nDeco = 0; nDeco < static_cast<int>(m_sheet.GetSheetDecoList().size()); ++nDeco)
                AddDeco(0.0, 0.0, m_sheet.GetSheetDecoType(nDeco), *m_sheet.GetSheetDecoList()[nDeco]);
            break;
        case 1:
        case 2:
            AddElements(m_sheet.m_nSheetType == 1);
            break;
        default:
            break;
        }
        nDrawnLabels = m_nLabels;

        // The caption: the name and the size, under the paper.
        const std::string strName = Cp932ToUtf8(summary.strName);
        std::string strCaption = strName.empty() ? std::string(ByUserLanguage("(名前なし)", "(no name)")) : strName;
        strCaption += " \u2014 " + (summary.dWidth ? FormatReal(*summary.dWidth, 2) : std::string("?")) + " \u00D7 " +
                      (summary.dHeight ? FormatReal(*summary.dHeight, 2) : std::string("?")) + " mm";
        if (m_bCut)
            strCaption += ByUserLanguage("  (一部のみ表示)", "  (partly drawn)");
        if (m_bounds.bEmpty)
            m_bounds.Add(0.0, 0.0, 100.0, 20.0);
        const double dMargin = 5.0;
        const double dCaptionSize = std::clamp((m_bounds.dRight - m_bounds.dLeft) / 40.0, 3.0, 12.0);
        const double dLeft = m_bounds.dLeft - dMargin;
        const double dTop = m_bounds.dTop - dMargin;
        const double dWidth = m_bounds.dRight - m_bounds.dLeft + 2 * dMargin;
        const double dHeight = m_bounds.dBottom - m_bounds.dTop + 3 * dMargin + dCaptionSize;

        std::string strSvg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        strSvg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Mm(dWidth) + "mm\" height=\"" + Mm(dHeight) +
                  "mm\" viewBox=\"" + Mm(dLeft) + " " + Mm(dTop) + " " + Mm(dWidth) + " " + Mm(dHeight) + "\">\n";
        strSvg += "<title>" + EscapeMarkup(strName) + "</title>\n";
        strSvg +=
            "<style>.paper{fill:#fff;stroke:#777;stroke-width:0.4}"
            ".label{fill:#eef4fb;stroke:#2a6fb0;stroke-width:0.3}"
            ".deco{fill:none;stroke:#c0392b;stroke-width:0.25}"
            "text{font-family:sans-serif;fill:#222}</style>\n";
        strSvg += "<rect x=\"" + Mm(dLeft) + "\" y=\"" + Mm(dTop) + "\" width=\"" + Mm(dWidth) + "\" height=\"" +
                  Mm(dHeight) + "\" fill=\"#f4f4f4\"/>\n";
        strSvg += m_strShapes;
        strSvg += "<text x=\"" + Mm(m_bounds.dLeft) + "\" y=\"" + Mm(m_bounds.dBottom + dMargin + dCaptionSize) +
                  "\" font-size=\"" + Mm(dCaptionSize) + "\">" + EscapeMarkup(strCaption) + "</text>\n";
        strSvg += "</svg>\n";
        return strSvg;
    }

private:
    void AddElements(bool bFixed)
    {
        const auto& lstElements = bFixed ? m_sheet.GetFixedList() : m_sheet.GetFreeList();
        for (std::size_t i = 0; i < lstElements.size(); ++i) {
            const CFixedFree& elem = *lstElements[i];
            const int nElem = static_cast<int>(i);
            // A disc label is drawn round, as it is cut.
            const bool bDisc = GetDiscLabelCaliber(m_sheet, nElem) != 0.0;
            if (!bFixed) {
                if (elem.GetHorPosCount() > 0 && elem.GetVerPosCount() > 0)
                    AddLabel(elem, nElem, bFixed, bDisc, elem.m_arHorPos[0], elem.m_arVerPos[0]);
                continue;
            }
            for (const double dX : elem.m_arHorPos) {
                for (const double dY : elem.m_arVerPos)
                    AddLabel(elem, nElem, bFixed, bDisc, dX, dY);
            }
        }
    }

    void AddLabel(const CFixedFree& elem, int nElem, bool bFixed, bool bDisc, double dX, double dY)
    {
        if (!Drawable(dX) || !Drawable(dY) || !Drawable(elem.m_dWidth) || !Drawable(elem.m_dHeight))
            return;
        if (m_nShapes >= kMaxShapes) {
            m_bCut = true;
            return;
        }
        ++m_nShapes;
        ++m_nLabels;
        const std::string strId = "label-" + std::to_string(m_nLabels);
        m_bounds.Add(dX, dY, dX + elem.m_dWidth, dY + elem.m_dHeight);
        m_strShapes += bDisc ? Ellipse("label", strId, dX, dY, dX + elem.m_dWidth, dY + elem.m_dHeight)
                             : Rect("label", strId, dX, dY, dX + elem.m_dWidth, dY + elem.m_dHeight);
        for (int nDeco = 0; nDeco < elem.GetDecoCount(); ++nDeco) {
            const int nType = bFixed ? m_sheet.GetFixedDecoType(nElem, nDeco) : m_sheet.GetFreeDecoType(nElem, nDeco);
            if (elem.m_lstDeco[nDeco])
                AddDeco(dX, dY, nType, *elem.m_lstDeco[nDeco]);
        }
    }

    /// A decoration at its start and end point from the origin given. Type 1
    /// is round (the centre hole of a disc label is one); what other types
    /// look like the files do not say, so they show as the outline of the
    /// rectangle from start to end point.
    void AddDeco(double dX, double dY, int nType, const CDeco& deco)
    {
        const double dX1 = dX + deco.m_dStartX;
        const double dY1 = dY + deco.m_dStartY;
        const double dX2 = dX + deco.m_dEndX;
        const double dY2 = dY + deco.m_dEndY;
        if (!Drawable(dX1) || !Drawable(dY1) || !Drawable(dX2) || !Drawable(dY2))
            return;
        if (m_nShapes >= kMaxShapes) {
            m_bCut = true;
            return;
        }
        ++m_nShapes;
        m_bounds.Add(dX1, dY1, dX2, dY2);
        m_strShapes += nType == 1 ? Ellipse("deco", "", dX1, dY1, dX2, dY2) : Rect("deco", "", dX1, dY1, dX2, dY2);
    }

    static std::string Id(const std::string& strId) { return strId.empty() ? std::string() : " id=\"" + strId + "\""; }

    static std::string Rect(const char* pClass, const std::string& strId, double dX1, double dY1, double dX2,
                            double dY2)
    {
        return std::string("<rect class=\"") + pClass + "\"" + Id(strId) + " x=\"" + Mm(std::min(dX1, dX2)) +
               "\" y=\"" + Mm(std::min(dY1, dY2)) + "\" width=\"" + Mm(std::fabs(dX2 - dX1)) + "\" height=\"" +
               Mm(std::fabs(dY2 - dY1)) + "\"/>\n";
    }

    static std::string Ellipse(const char* pClass, const std::string& strId, double dX1, double dY1, double dX2,
                               double dY2)
    {
        return std::string("<ellipse class=\"") + pClass + "\"" + Id(strId) + " cx=\"" + Mm((dX1 + dX2) / 2) +
               "\" cy=\"" + Mm((dY1 + dY2) / 2) + "\" rx=\"" + Mm(std::fabs(dX2 - dX1) / 2) + "\" ry=\"" +
               Mm(std::fabs(dY2 - dY1) / 2) + "\"/>\n";
    }

    CSheet& m_sheet;
    SBounds m_bounds;
    std::string m_strShapes;
    long long m_nShapes = 0;
    long long m_nLabels = 0;
    bool m_bCut = false;
};

/// Writes the text whole or not at all; false when it could not be.
bool WriteWhole(const std::string& strPath, const std::string& strText)
{
    CAtomicOutputFile file;
    return file.Create(strPath) && file.Write(strText) && file.Commit();
}

std::string SheetFileName(int nNumber, int nSheetNum)
{
    std::string strNumber = std::to_string(nNumber);
    const std::size_t nWidth = std::max<std::size_t>(3, std::to_string(nSheetNum).size());
    strNumber.insert(0, nWidth - strNumber.size(), '0');
    return "sheet-" + strNumber + ".svg";
}

}  // namespace

std::string EscapeMarkup(std::string_view strUtf8)
{
    std::string strOut;
    strOut.reserve(strUtf8.size());
    while (!strUtf8.empty()) {
        char32_t c = 0;
        const std::size_t nLength = DecodeUtf8(strUtf8, c);
        if (nLength == 0 || (IsControlCode(c) && c != U'\t' && c != U'\n')) {
            strOut += "\xEF\xBF\xBD";
            strUtf8.remove_prefix(nLength == 0 ? 1 : nLength);
            continue;
        }
        switch (c) {
        case U'&':
            strOut += "&amp;";
            break;
        case U'<':
            strOut += "&lt;";
            break;
        case U'>':
            strOut += "&gt;";
            break;
        case U'"':
            strOut += "&quot;";
            break;
        case U'\'':
            strOut += "&#39;";
            break;
        default:
            strOut.append(strUtf8.substr(0, nLength));
            break;
        }
        strUtf8.remove_prefix(nLength);
    }
    return strOut;
}

std::string MakeSheetSvg(CSheet& sheet, long long& nDrawnLabels)
{
    return CSvgSheet(sheet).Make(nDrawnLabels);
}

int RunPreview(const std::string& strPath, const std::string& strFolder)
{
    CStreamMessageBox box;
    const CMessageBoxScope scope(&box);
    CToviFileformDoc doc;
    ESheetFileVersion eVersion = ESheetFileVersion::Version34;
    switch (ReadAnySheetFile(strPath, doc, eVersion)) {
    case EReadResult::NotOpened:
        WriteToStdError(std::string("toviconv: ") +
                        ByUserLanguage("ファイルを読み込めません: ", "the file cannot be read: ") + strPath + "\n");
        return 1;
    case EReadResult::NotUserSheets:
        WriteToStdError(std::string("toviconv: ") +
                        ByUserLanguage("ユーザシートのファイルではありません: ", "not a user-sheet file: ") + strPath +
                        "\n");
        return 1;
    case EReadResult::Ok:
        break;
    }
    if (!CreateFolderPath(strFolder)) {
        WriteToStdError(std::string("toviconv: ") +
                        ByUserLanguage("フォルダを作れません: ", "the folder cannot be made: ") + strFolder + "\n");
        return 1;
    }

    const std::string strTitle = EscapeMarkup(strPath);
    std::string strHtml = std::string("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n") +
                          "<title>ToviConv: " + strTitle + "</title>\n" +
                          "<style>body{font-family:sans-serif;margin:2em;background:#fafafa}"
                          "figure{display:inline-block;vertical-align:top;margin:1em;padding:1em;background:#fff;"
                          "box-shadow:0 1px 3px #0003}img{max-width:40em;max-height:40em}</style>\n</head>\n<body>\n" +
                          "<h1>" + strTitle + "</h1>\n<p>" + ByUserLanguage("バージョン ", "Version ") +
                          VersionName(eVersion) + ByUserLanguage("、シート ", ", sheets: ") +
                          std::to_string(doc.GetSheetNum()) + "</p>\n";
    const int nSheetNum = doc.GetSheetNum();
    for (int i = 0; i < nSheetNum; ++i) {
        CSheet& sheet = *doc.GetSheet(i);
        long long nLabels = 0;
        const std::string strFile = SheetFileName(i + 1, nSheetNum);
        if (!WriteWhole(JoinPath(strFolder, strFile), MakeSheetSvg(sheet, nLabels))) {
            WriteToStdError(std::string("toviconv: ") + ByUserLanguage("書き込めません: ", "cannot write: ") +
                            JoinPath(strFolder, strFile) + "\n");
            return 1;
        }
        const SSheetSummary summary = SummarizeSheet(sheet);
        const std::string strName = EscapeMarkup(Cp932ToUtf8(summary.strName));
        // Appended piece by piece: a file may hold many thousand sheets.
        for (const std::string& strPiece :
             {std::string("<figure>\n<img src=\""), strFile, std::string("\" alt=\""), strName,
              std::string("\">\n<figcaption>"), std::to_string(i + 1), std::string(". "), strName,
              std::string(" &mdash; "), EscapeMarkup(Cp932ToUtf8(summary.strGroup)), std::string(" &mdash; "),
              std::to_string(nLabels), std::string(ByUserLanguage(" ラベル", " labels")),
              std::string("</figcaption>\n</figure>\n")})
            strHtml += strPiece;
    }
    strHtml += "</body>\n</html>\n";
    const std::string strIndex = JoinPath(strFolder, "index.html");
    if (!WriteWhole(strIndex, strHtml)) {
        WriteToStdError(std::string("toviconv: ") + ByUserLanguage("書き込めません: ", "cannot write: ") + strIndex +
                        "\n");
        return 1;
    }
    return WriteToStdOutput(strIndex + "\n") ? 0 : 1;
}
