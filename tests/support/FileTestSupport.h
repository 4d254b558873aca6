#pragma once
// Helpers of tests that touch real files: a private temporary folder,
// whole-file reading and writing, the golden files of tests/data.

#include <string>
#include <string_view>

/// A new empty folder under the system's temporary folder, removed with its
/// contents when the object goes.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    /// The path of a name inside the folder.
    std::string File(std::string_view name) const { return m_strPath + "/" + std::string(name); }

private:
    std::string m_strPath;
};

void WriteWholeFile(const std::string& strPath, std::string_view bytes);
std::string ReadWholeFile(const std::string& strPath);
bool FileExists(const std::string& strPath);
/// Names of the entries of a folder, sorted, without "." and "..".
std::string ListFolder(const std::string& strPath);

/// The path of a file of tests/data.
std::string TestDataPath(std::string_view name);

/// Turns "\n" into CR LF: version-5 text as the tests write it.
std::string Crlf(std::string_view text);
