#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

CTempFolder::CTempFolder()
{
    // A name nobody else holds: create_directory refuses an existing one.
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int nTry = 0; nTry < 100 && m_strPath.empty(); ++nTry) {
        const std::filesystem::path folder = base / ("toviconv-test-" + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(folder, ec))
            m_strPath = folder.string();
    }
    if (m_strPath.empty())
        ADD_FAILURE() << "cannot create a temporary folder";
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
