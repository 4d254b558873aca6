#include "FormatsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

CTempFolder::CTempFolder()
{
    std::string strTemplate = (std::filesystem::temp_directory_path() / "toviconv-formats-XXXXXX").string();
    if (::mkdtemp(strTemplate.data()) == nullptr)
        ADD_FAILURE() << "cannot create a temporary folder";
    m_strPath = strTemplate;
}

CTempFolder::~CTempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(m_strPath, ec);
}

void WriteWholeFile(const std::string& strPath, std::string_view bytes)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << strPath;
}

std::string ReadWholeFile(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << strPath;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& strPath)
{
    std::error_code ec;
    return std::filesystem::exists(strPath, ec);
}

std::string ListFolder(const std::string& strPath)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(strPath))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string strList;
    for (const std::string& strName : names)
        strList += (strList.empty() ? "" : " ") + strName;
    return strList;
}

std::string TestDataPath(std::string_view name)
{
    return std::string(TOVICONV_TEST_DATA_DIR) + "/" + std::string(name);
}

std::string Crlf(std::string_view text)
{
    std::string str;
    for (const char c : text) {
        if (c == '\n')
            str += '\r';
        str += c;
    }
    return str;
}
