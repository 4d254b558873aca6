#pragma once
// The document of one conversion: the sheets read from a legacy user-sheet
// file, in reading order, and the writing of the version-5 file.

#include "formats/LineSyntax.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CFixedFree;
class CSheet;

class CToviFileformDoc {
public:
    CToviFileformDoc();
    ~CToviFileformDoc();
    CToviFileformDoc(const CToviFileformDoc&) = delete;
    CToviFileformDoc& operator=(const CToviFileformDoc&) = delete;

    /// Reads a version-2 file (a path ending in "FDF", any case) or a
    /// version-3/4 file (any other path) into new sheets. 1 when the file
    /// opened and was read to its end, whatever its lines held; 0 when it did
    /// not open (a message is shown and the sheets stay as they were) and
    /// when a read error stopped it (a message is shown and no sheet is
    /// left).
    // The paths are taken by value, as the run hands them over.
    int ReadLegacyFile(std::string strPath);  // NOLINT(performance-unnecessary-value-param)

    /// Reads the bytes of a version-5 file, as WriteVersion5File writes
    /// them, into new sheets. Version 5 uses the keywords of versions 3 and
    /// 4, so its sheets are read as theirs are (origin 1), with the version-5
    /// additions: the constant last field of a "Fixed" value is passed over,
    /// and a "CDCaliber" line gives its element the centre hole that makes it
    /// a disc label again. Lines may be of any length. Writing the sheets
    /// read gives back the bytes the writer wrote.
    void ReadVersion5Bytes(std::string_view bytes);

    /// Writes the sheets as a version-5 file, replacing the file at the path
    /// whole or not at all. 1 when it was written, and also when the document
    /// holds no sheet (nothing is written then); 0 when it could not be
    /// written (a message is shown and an existing file stays as it was).
    int WriteVersion5File(std::string strPath);  // NOLINT(performance-unnecessary-value-param)

    /// WriteVersion5File, keeping first a backup of the file it replaces
    /// (system/Backup.h): GetBackupPath() names it afterwards. When no
    /// backup can be made nothing is written: the writer's message is shown
    /// with a line saying why, and the result is 0.
    int ReplaceVersion5File(const std::string& strPath);
    /// The backup that the latest ReplaceVersion5File kept; "" when it
    /// replaced no file (or wrote nothing).
    const std::string& GetBackupPath() const { return m_strBackupPath; }

    /// Number of sheets.
    int GetSheetNum() const;
    /// The sheet at the index, or nullptr outside 0 .. GetSheetNum() - 1.
    CSheet* GetSheet(int nIndex);

    /// Releases every sheet: an empty document again.
    void DeleteContents();

private:
    struct SSheetDeleter {
        void operator()(CSheet* pSheet) const;
    };
    using SheetPtr = std::unique_ptr<CSheet, SSheetDeleter>;

    void PerformLine(std::string_view line, EFileVersion eVersion);
    void BeginSheet(int bVersion34);
    void PerformVersion2Line(int nCode, std::string_view strValue);
    void PerformVersion34Line(int nCode, std::string_view strValue);
    void PerformVersion5Line(std::string_view line, std::vector<const CFixedFree*>& arDiscs);

    std::vector<SheetPtr> m_lstSheet;
    CSheet* m_pCurSheet = nullptr;  ///< sheet of the latest "GroupName" line
    // Version-2 cursors: the results of the latest adding operations. -1
    // before the first one, so that an early use is rejected by the sheet.
    int m_nCurSupport = -1;
    int m_nCurElement = -1;
    int m_nCurDeco = -1;
    std::string m_strBackupPath;
};
