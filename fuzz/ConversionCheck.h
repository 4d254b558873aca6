#pragma once
// The check behind the fuzzer and the replay of what it found: any bytes,
// read as a version-2 file and as a version-3/4 file and written as a
// version-5 file, must give a well-formed result.

#include "text/MessageBox.h"

#include <string>
#include <string_view>

/// Converts byte strings through files of a private temporary folder, which
/// is made once and removed with the object. Message boxes shown meanwhile
/// are counted and answered OK, or No to a question: nothing waits.
class CConversionCheck : public CMessageBoxHandler {
public:
    CConversionCheck();
    ~CConversionCheck() override;
    CConversionCheck(const CConversionCheck&) = delete;
    CConversionCheck& operator=(const CConversionCheck&) = delete;

    /// Reads the bytes as a version-2 file, then as a version-3/4 file, and
    /// writes each result as a version-5 file, which read back must write
    /// the same bytes again. Returns what was wrong with either conversion,
    /// one fault a line; empty when both were sound.
    std::string CheckBytes(std::string_view bytes);

    int Show(const std::string& strText, EMsgButtons eButtons) override;
    int GetShownNum() const { return m_nShown; }

private:
    std::string ConvertFile(const std::string& strInput);

    std::string m_strFolder;
    std::string m_strOutput;
    CMessageBoxHandler* m_pPrevious;
    int m_nShown = 0;
};

/// The faults of one version-5 output: its header, its trailer, its line
/// ends and the keys of its lines. Empty when there are none.
std::string CheckVersion5Text(std::string_view text);
