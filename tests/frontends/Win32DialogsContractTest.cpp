// The dialogue contract over the Windows front end. A second thread is the
// user's hand: it finds the dialog the test's thread shows and sends it the
// command of the button pressed, as a click does; a file is typed into the
// file dialog's name field before its OK. Where no window can be made (Wine
// without a display) the cases skip.

#include "frontends/win32/Win32FrontEnd.h"
#include "frontends/win32/Win32Resources.h"
#include "system/win32/WideText.h"
#include "tests/frontends/DialogsContract.h"
#include "tests/support/FileTestSupport.h"
#include "text/MessageBox.h"
#include "text/Path.h"

// windows.h comes first: dlgs.h builds on it.
#include <windows.h>

#include <dlgs.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

enum class EWindow { Box, File, Confirm, Other };

/// The system's file dialog by its name field, the confirm window by its
/// path field, the front end's boxes by their caption; anything else (the
/// file dialog's own refusal of a missing file) is Other.
EWindow KindOf(HWND hWindow)
{
    if (::GetDlgItem(hWindow, cmb13) != nullptr)
        return EWindow::File;
    if (::GetDlgItem(hWindow, IDC_PATH_EDIT) != nullptr)
        return EWindow::Confirm;
    wchar_t szCaption[64] = {};
    ::GetWindowTextW(hWindow, szCaption, 64);
    return WidenText(kAppTitle) == szCaption ? EWindow::Box : EWindow::Other;
}

/// Presses the button; returns at once, the window's own loop handles it.
void PostCommand(HWND hWindow, int nCommand)
{
    ::PostMessageW(hWindow, WM_COMMAND, MAKEWPARAM(nCommand, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hWindow, nCommand)));
}

/// Presses the button and returns once the window has handled it.
void SendCommand(HWND hWindow, int nCommand)
{
    DWORD_PTR nResult = 0;
    ::SendMessageTimeoutW(hWindow, WM_COMMAND, MAKEWPARAM(nCommand, BN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(hWindow, nCommand)), SMTO_NORMAL, 10000, &nResult);
}

class CWin32Hand {
public:
    struct SPress {
        EWindow eKind;
        int nCommand;
        std::wstring strFile;  ///< typed into a file dialog before its OK
    };

    explicit CWin32Hand(DWORD nThread) : m_nThread(nThread), m_worker([this] { Run(); }) {}
    ~CWin32Hand()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_bStop = true;
        }
        m_changed.notify_all();
        m_worker.join();
    }
    CWin32Hand(const CWin32Hand&) = delete;
    CWin32Hand& operator=(const CWin32Hand&) = delete;

    void Add(SPress press)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_presses.push_back(std::move(press));
        }
        m_changed.notify_all();
    }

private:
    /// The dialog of the test's thread that takes input now: shown and
    /// enabled (a modal window's owner is disabled while it is up).
    HWND FindDialog() const
    {
        HWND hFound = nullptr;
        ::EnumThreadWindows(
            m_nThread,
            [](HWND hWindow, LPARAM lFound) -> BOOL {
                wchar_t szClass[16] = {};
                if (!::IsWindowVisible(hWindow) || !::IsWindowEnabled(hWindow) ||
                    ::GetClassNameW(hWindow, szClass, 16) == 0 || std::wstring_view(szClass) != L"#32770")
                    return TRUE;
                *reinterpret_cast<HWND*>(lFound) = hWindow;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&hFound));
        return hFound;
    }

    void Run()
    {
        for (;;) {
            SPress press;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [this] { return m_bStop || !m_presses.empty(); });
                if (m_presses.empty())
                    return;
                press = std::move(m_presses.front());
                m_presses.pop_front();
            }
            if (!Perform(press) && !m_bStop)
                ADD_FAILURE() << "the window the hand waited for never came";
        }
    }

    bool Perform(const SPress& press)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!m_bStop && std::chrono::steady_clock::now() < deadline) {
            const HWND hDialog = FindDialog();
            const EWindow eKind = hDialog != nullptr ? KindOf(hDialog) : EWindow::Other;
            if (hDialog != nullptr && eKind == press.eKind) {
                if (press.eKind == EWindow::File && press.nCommand == IDOK) {
                    // Posted: the dialog may answer with a box of its own,
                    // which is closed at the next press.
                    ::SetDlgItemTextW(hDialog, cmb13, press.strFile.c_str());
                    PostCommand(hDialog, IDOK);
                    while (::IsWindowVisible(hDialog) && ::IsWindowEnabled(hDialog) &&
                           std::chrono::steady_clock::now() < deadline)
                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                } else {
                    SendCommand(hDialog, press.nCommand);
                }
                return true;
            }
            if (hDialog != nullptr && eKind == EWindow::Other && press.eKind == EWindow::File) {
                SendCommand(hDialog, IDOK);  // the file dialog's refusal, read
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    const DWORD m_nThread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<SPress> m_presses;
    std::atomic<bool> m_bStop{false};
    std::thread m_worker;
};

class CWin32Driver : public CDialogsDriver {
public:
    CWin32Driver() { WriteWholeFile(ExistingFile(), ""); }

    CUserDialogs& Dialogs() override { return m_frontEnd; }
    void AnswerBox(int nButton) override
    {
        m_hand.Add({EWindow::Box, nButton == DlgResult::Ok ? IDOK : nButton == DlgResult::Yes ? IDYES : IDNO, {}});
    }
    void AnswerFile(std::optional<std::string> strPath) override
    {
        m_hand.Add({EWindow::File, strPath ? IDOK : IDCANCEL, strPath ? WidenText(*strPath) : std::wstring()});
    }
    void PressConfirm(bool bOK) override { m_hand.Add({EWindow::Confirm, bOK ? IDOK : IDCANCEL, {}}); }
    void PressProgressCancel(CProgressView& view) override
    {
        // Posted to the window: the view's pump delivers it.
        const HWND hWindow = reinterpret_cast<HWND>(dynamic_cast<CWin32ProgressView&>(view).GetWindow());
        ASSERT_NE(hWindow, nullptr);
        PostCommand(hWindow, IDCANCEL);
    }
    std::string ExistingFile() override { return JoinPath(m_folder.Path(), "User.YLI", EPathStyle::Windows); }
    std::string MissingFile() override { return JoinPath(m_folder.Path(), "missing.yli", EPathStyle::Windows); }

private:
    CTempFolder m_folder;
    std::unique_ptr<CFileSystem> m_pFileSystem = CreateFileSystem({});
    CWin32FrontEnd m_frontEnd{*m_pFileSystem};
    CWin32Hand m_hand{::GetCurrentThreadId()};
};

std::unique_ptr<CDialogsDriver> MakeWin32Driver()
{
    const HWND hProbe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (hProbe == nullptr)
        return nullptr;
    ::DestroyWindow(hProbe);
    return std::make_unique<CWin32Driver>();
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(FrontEnd, DialogsContractTest,
                         ::testing::Values(SFrontEndUnderTest{"Win32", &MakeWin32Driver}));
