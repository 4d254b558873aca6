#pragma once
// The fixture of the writer's tests: a document, a private folder and the
// boxes shown.

#include "formats/ToviFileformDoc.h"
#include "formats/Version5Writer.h"
#include "model/MethodFailure.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <string>

inline const std::string kHeader(kVersion5Header);

class Version5WriterTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFailureCountsForTesting(); }

    /// Reads the legacy bytes (under a name that selects the version) and
    /// returns what the writer makes of them.
    std::string Convert(const std::string& strLegacyName, const std::string& strBytes)
    {
        const std::string strIn = m_folder.File(strLegacyName);
        const std::string strOut = m_folder.File("OUT.YLI");
        WriteWholeFile(strIn, strBytes);
        EXPECT_EQ(m_doc.ReadLegacyFile(strIn), 1);
        EXPECT_EQ(m_doc.WriteVersion5File(strOut), 1);
        return FileExists(strOut) ? ReadWholeFile(strOut) : std::string("(no file)");
    }

    /// Fills the document with one version-2 sheet, ready to be written.
    void ReadOneSheet()
    {
        const std::string strIn = m_folder.File("USER.FDF");
        WriteWholeFile(strIn, "GroupName = A\r\n");
        ASSERT_EQ(m_doc.ReadLegacyFile(strIn), 1);
    }

    /// The output of a version-3/4 file, without the header and the trailer.
    std::string ConvertBlocks(const std::string& strLines)
    {
        const std::string strOut = Convert("USER.YLI", Crlf(strLines));
        EXPECT_EQ(strOut.rfind(kHeader, 0), 0u);
        EXPECT_TRUE(strOut.ends_with("\r\nEND\r\n"));
        return strOut.substr(kHeader.size(), strOut.size() - kHeader.size() - 7);
    }

    CTempFolder m_folder;
    CScriptedMessageBox m_box;
    CToviFileformDoc m_doc;
};
