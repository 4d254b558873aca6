#include "platform/Platform.h"

#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

namespace {

/// The front end of an interactive run until Windows has its windows: every
/// message goes to standard error, every question is answered No and every
/// dialog is cancelled, so the run ends without writing (exit status 1).
class CStdErrorFrontEnd : public CUserDialogs {
public:
    int Show(const std::string& strText, EMsgButtons eButtons) override { return m_box.Show(strText, eButtons); }
    std::unique_ptr<CProgressView> CreateProgressView() override { return nullptr; }
    std::unique_ptr<CConfirmView> CreateConfirmView() override { return nullptr; }
    bool ShowFileDialog(const SFileDialogSpec&, std::string&) override { return false; }

private:
    CStreamMessageBox m_box;
};

}  // namespace

std::unique_ptr<CFileSystem> CreateFileSystem(std::vector<std::string> arRoots)
{
    // A drive without a medium fails quietly instead of asking for a disk.
    ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return std::make_unique<CWin32FileSystem>(std::move(arRoots));
}

std::unique_ptr<CUserDialogs> CreateFrontEnd(CFileSystem&, bool)
{
    return std::make_unique<CStdErrorFrontEnd>();
}
