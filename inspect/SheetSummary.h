#pragma once
// What a user-sheet file holds, sheet by sheet, as "toviconv show" and
// "toviconv preview" tell it: read from any version of the file, summed up
// from the model without a query that could report a failure.

#include <optional>
#include <string>
#include <vector>

class CSheet;
class CToviFileformDoc;

/// The file versions a user-sheet file can have.
enum class ESheetFileVersion { Version2, Version34, Version5 };

/// One support record of a version-2 sheet.
struct SSupportSummary {
    int nType = -1;
    std::string strVersion;               ///< code page 932
    std::vector<std::string> lstGroups;   ///< code page 932
    std::vector<std::string> lstWizards;  ///< code page 932
};

/// One sheet. Texts are code-page-932 bytes as the file holds them.
struct SSheetSummary {
    std::string strGroup;          ///< version 2: the support records' names, joined by ","
    std::string strName;           ///< version 2: SheetName; versions 3 to 5: ProductName
    int nLayoutKind = -1;          ///< -1 undecided, 0 sheet decorations, 1 fixed, 2 free
    std::optional<double> dWidth;  ///< paper size in millimetres, when the file gives it
    std::optional<double> dHeight;
    int nOrientation = -1;
    int nSheetClass = 0;
    int nSheetIndex = -1;
    int nElementNum = 0;      ///< elements of the layout kind's list
    long long nLabelNum = 0;  ///< labels on the paper: fixed, every position pair; free, one each
    int nDecoNum = 0;         ///< sheet decorations (kind 0) or the elements' decorations
    std::vector<SSupportSummary> lstSupport;
};

/// Why a file could not be summed up.
enum class EReadResult { Ok, NotOpened, NotUserSheets };

/// Reads the file at the path into the document, whatever its version: a
/// name ending in "FDF" (any case) is version 2, a file whose "ID" line says
/// 5 is version 5, any other file versions 3 and 4. A file none of whose
/// lines holds a keyword of its version is not a user-sheet file. Reports of
/// the model go to the installed message box handler.
EReadResult ReadAnySheetFile(const std::string& strPath, CToviFileformDoc& doc, ESheetFileVersion& eVersion);

SSheetSummary SummarizeSheet(const CSheet& sheet);

/// "2", "3/4" or "5".
const char* VersionName(ESheetFileVersion eVersion);
