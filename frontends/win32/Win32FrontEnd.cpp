#include "frontends/win32/Win32FrontEnd.h"

#include "frontends/win32/Win32Resources.h"
#include "system/win32/WideText.h"

// windows.h comes first: the headers below build on it.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

namespace {

HWND AsWindow(std::intptr_t hWindow)
{
    return reinterpret_cast<HWND>(hWindow);
}

std::intptr_t FromWindow(HWND hWindow)
{
    return reinterpret_cast<std::intptr_t>(hWindow);
}

/// The resources (templates, icon) are those of the program itself.
HINSTANCE ProgramInstance()
{
    return ::GetModuleHandleW(nullptr);
}

std::wstring GetItemText(HWND hDialog, int nId)
{
    const HWND hItem = ::GetDlgItem(hDialog, nId);
    std::wstring strText(static_cast<std::size_t>(std::max(::GetWindowTextLengthW(hItem), 0)) + 1, L'\0');
    const int nGot = ::GetWindowTextW(hItem, strText.data(), static_cast<int>(strText.size()));
    strText.resize(static_cast<std::size_t>(std::max(nGot, 0)));
    return strText;
}

INT_PTR CALLBACK ProgressProc(HWND hDialog, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hDialog, GWLP_USERDATA, lParam);
        return TRUE;
    }
    auto* pView = reinterpret_cast<CWin32ProgressView*>(::GetWindowLongPtrW(hDialog, GWLP_USERDATA));
    if (pView == nullptr)
        return FALSE;
    switch (nMessage) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            pView->OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        // The close box is Cancel; the window stays until the run destroys it.
        pView->OnCommand(IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ConfirmProc(HWND hDialog, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hDialog, GWLP_USERDATA, lParam);
        reinterpret_cast<CWin32ConfirmView*>(lParam)->OnInit(FromWindow(hDialog));
        return TRUE;  // the focus goes to the first tab stop, OK
    }
    auto* pView = reinterpret_cast<CWin32ConfirmView*>(::GetWindowLongPtrW(hDialog, GWLP_USERDATA));
    if (pView == nullptr)
        return FALSE;
    int nResult = IDCANCEL;
    switch (nMessage) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && pView->OnCommand(LOWORD(wParam), nResult))
            ::EndDialog(hDialog, nResult);
        return TRUE;
    case WM_CLOSE:
        ::EndDialog(hDialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

/// Centres the window on the work area of the screen the mouse is on.
void CentreOnScreen(HWND hWindow)
{
    RECT rect{};
    POINT cursor{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetCursorPos(&cursor);
    if (!::GetWindowRect(hWindow, &rect) ||
        !::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    const LONG nX = work.left + std::max<LONG>(0, ((work.right - work.left) - (rect.right - rect.left)) / 2);
    const LONG nY = work.top + std::max<LONG>(0, ((work.bottom - work.top) - (rect.bottom - rect.top)) / 2);
    ::SetWindowPos(hWindow, nullptr, nX, nY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

/// While a file dialog without an owner comes up: the hook that centres it.
thread_local HHOOK t_hCentreHook = nullptr;

LRESULT CALLBACK CentreDialogOnActivate(int nCode, WPARAM wParam, LPARAM lParam)
{
    const LRESULT nResult = ::CallNextHookEx(t_hCentreHook, nCode, wParam, lParam);
    if (nCode == HCBT_ACTIVATE && t_hCentreHook != nullptr) {
        const HWND hWindow = reinterpret_cast<HWND>(wParam);
        wchar_t szClass[8] = {};
        if (::GetClassNameW(hWindow, szClass, 8) > 0 && std::wstring_view(szClass) == L"#32770") {
            CentreOnScreen(hWindow);
            ::UnhookWindowsHookEx(t_hCentreHook);
            t_hCentreHook = nullptr;
        }
    }
    return nResult;
}

/// Centres the next dialog of this thread on the screen, as a dialog with an
/// owner is centred on it; without an owner the system would put it in the
/// screen's corner. Undone when the object goes, if no dialog came.
class CCentreNextDialog {
public:
    explicit CCentreNextDialog(bool bWanted)
    {
        if (bWanted && t_hCentreHook == nullptr)
            t_hCentreHook = ::SetWindowsHookExW(WH_CBT, CentreDialogOnActivate, nullptr, ::GetCurrentThreadId());
    }
    ~CCentreNextDialog()
    {
        if (t_hCentreHook != nullptr) {
            ::UnhookWindowsHookEx(t_hCentreHook);
            t_hCentreHook = nullptr;
        }
    }
    CCentreNextDialog(const CCentreNextDialog&) = delete;
    CCentreNextDialog& operator=(const CCentreNextDialog&) = delete;
};

/// The path of this program's own executable.
std::wstring ProgramPath()
{
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD nGot = ::GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size()));
        if (nGot == 0)
            return {};
        if (nGot < strPath.size()) {
            strPath.resize(nGot);
            return strPath;
        }
        strPath.resize(strPath.size() * 2);
    }
}

/// Waits for the process while the thread's windows go on being served
/// (repainted, moved), as a modal loop would.
DWORD WaitPumping(HANDLE hProcess)
{
    for (;;) {
        const DWORD nWait = ::MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (nWait != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Not ours to take: left for whoever runs the loop that asked.
                ::PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    DWORD nExit = 1;
    if (!::GetExitCodeProcess(hProcess, &nExit))
        nExit = 1;
    return nExit;
}

}  // namespace

std::wstring QuoteArgument(std::wstring_view strArg)
{
    if (!strArg.empty() && strArg.find_first_of(L" \t\n\v\"") == std::wstring_view::npos)
        return std::wstring(strArg);
    // Backslashes are literal except before a quote: there they are doubled,
    // and the quote escaped; so are those before the closing quote.
    std::wstring strQuoted = L"\"";
    std::size_t nBackslashes = 0;
    for (const wchar_t c : strArg) {
        if (c == L'\\') {
            ++nBackslashes;
            continue;
        }
        strQuoted.append(c == L'"' ? nBackslashes * 2 + 1 : nBackslashes, L'\\');
        nBackslashes = 0;
        strQuoted += c;
    }
    strQuoted.append(nBackslashes * 2, L'\\');
    strQuoted += L'"';
    return strQuoted;
}

std::wstring MakeElevatedParameters(const std::string& strOld, const std::string& strNew)
{
    return L"convert " + QuoteArgument(WidenText(strOld)) + L" " + QuoteArgument(WidenText(strNew));
}

std::wstring MakeWin32Filter(std::string_view strFilter)
{
    std::wstring strWide = WidenText(strFilter);
    if (strWide.empty())
        return strWide;
    for (wchar_t& c : strWide) {
        if (c == L'|')
            c = L'\0';
    }
    while (strWide.size() < 2 || strWide[strWide.size() - 1] != L'\0' || strWide[strWide.size() - 2] != L'\0')
        strWide += L'\0';
    return strWide;
}

// ---------------------------------------------------------------------------
// The front end

CWin32FrontEnd::CWin32FrontEnd(CFileSystem& fileSystem) : m_fileSystem(fileSystem)
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);
}

int CWin32FrontEnd::Show(const std::string& strText, EMsgButtons eButtons)
{
    const UINT nType = MB_ICONEXCLAMATION | (eButtons == EMsgButtons::YesNo ? MB_YESNO : MB_OK);
    const std::wstring strCaption = WidenText(kAppTitle);
    const int nAnswer = ::MessageBoxW(AsWindow(m_hModalParent), WidenText(strText).c_str(), strCaption.c_str(), nType);
    if (eButtons == EMsgButtons::Ok)
        return DlgResult::Ok;
    // A box that could not be shown is No.
    return nAnswer == IDYES ? DlgResult::Yes : DlgResult::No;
}

std::unique_ptr<CProgressView> CWin32FrontEnd::CreateProgressView()
{
    return std::make_unique<CWin32ProgressView>(this);
}

EElevatedWrite CWin32FrontEnd::WriteElevated(const std::string& strOld, const std::string& strNew)
{
    const std::wstring strProgram = ProgramPath();
    if (strProgram.empty())
        return EElevatedWrite::Failed;
    const std::wstring strParameters = MakeElevatedParameters(strOld, strNew);
    // The shell's verbs may need COM on the thread that asks.
    const HRESULT hrCom = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No error box of the shell's own: the run says what went wrong.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = AsWindow(m_hModalParent);
    info.lpVerb = L"runas";
    info.lpFile = strProgram.c_str();
    info.lpParameters = strParameters.c_str();
    info.nShow = SW_HIDE;  // it only writes: no window of its own
    const BOOL bStarted = ::ShellExecuteExW(&info);
    const DWORD nError = bStarted ? ERROR_SUCCESS : ::GetLastError();
    EElevatedWrite eResult = EElevatedWrite::Failed;
    if (!bStarted && nError == ERROR_CANCELLED) {
        eResult = EElevatedWrite::Declined;  // "No" at the system's prompt
    } else if (bStarted && info.hProcess != nullptr) {
        eResult = WaitPumping(info.hProcess) == 0 ? EElevatedWrite::Written : EElevatedWrite::Failed;
        ::CloseHandle(info.hProcess);
    }
    if (SUCCEEDED(hrCom))
        ::CoUninitialize();
    return eResult;
}

std::unique_ptr<CConfirmView> CWin32FrontEnd::CreateConfirmView()
{
    return std::make_unique<CWin32ConfirmView>(*this);
}

bool CWin32FrontEnd::ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath)
{
    const SFileDialogStart start = ResolveFileDialogStart(m_fileSystem, fileDialog);
    const std::wstring strFilter = MakeWin32Filter(fileDialog.strFilter);
    const std::wstring strTitle = WidenText(fileDialog.strTitle);
    const std::wstring strFolder = WidenText(start.strFolder);
    const std::wstring strName = WidenText(start.strName);
    // Room for a long path (up to 32767 characters).
    std::vector<wchar_t> arFile(32768, L'\0');
    strName.copy(arFile.data(), std::min(strName.size(), arFile.size() - 1));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = AsWindow(m_hModalParent);
    dialog.lpstrFilter = strFilter.empty() ? nullptr : strFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = arFile.data();
    dialog.nMaxFile = static_cast<DWORD>(arFile.size());
    dialog.lpstrInitialDir = strFolder.empty() ? nullptr : strFolder.c_str();
    dialog.lpstrTitle = strTitle.empty() ? nullptr : strTitle.c_str();
    // The options asked for, in the system's current dialog, and the current
    // directory kept: relative paths typed later still mean the same.
    dialog.Flags = (fileDialog.nFlags & (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY)) | OFN_EXPLORER | OFN_ENABLESIZING |
                   OFN_NOCHANGEDIR;
    // A dialog with an owner (the confirm window's file button) opens over
    // it; one without (the save dialog after the confirm window) in the
    // middle of the screen.
    const CCentreNextDialog centre(m_hModalParent == 0);
    const BOOL bChosen = fileDialog.bOpen ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
    if (!bChosen || arFile[0] == L'\0')
        return false;
    strPath = NarrowText(arFile.data());
    return !strPath.empty();
}

// ---------------------------------------------------------------------------
// The searching-progress window

CWin32ProgressView::~CWin32ProgressView()
{
    Destroy();
}

bool CWin32ProgressView::Create(CProgressEvents& events)
{
    if (m_hDialog != 0)
        return true;
    m_pEvents = &events;
    const HWND hDialog = ::CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, ProgressProc,
                                              reinterpret_cast<LPARAM>(this));
    if (hDialog == nullptr) {
        m_pEvents = nullptr;
        return false;
    }
    m_hDialog = FromWindow(hDialog);
    if (m_pFrontEnd != nullptr)
        m_hPreviousParent = m_pFrontEnd->SetModalParent(m_hDialog);
    const HICON hIcon = ::LoadIconW(ProgramInstance(), MAKEINTRESOURCEW(IDI_TOVICONV));
    if (hIcon != nullptr)
        ::SendMessageW(hDialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    return true;
}

void CWin32ProgressView::Destroy()
{
    if (m_hDialog == 0)
        return;
    const HWND hDialog = AsWindow(m_hDialog);
    if (m_pFrontEnd != nullptr)
        m_pFrontEnd->SetModalParent(m_hPreviousParent);
    ::SetWindowLongPtrW(hDialog, GWLP_USERDATA, 0);
    ::DestroyWindow(hDialog);
    m_hDialog = 0;
    m_pEvents = nullptr;
}

void CWin32ProgressView::SetTitle(const std::string& strTitle)
{
    if (m_hDialog != 0)
        ::SetWindowTextW(AsWindow(m_hDialog), WidenText(strTitle).c_str());
}

void CWin32ProgressView::SetStatus(std::string_view strText)
{
    if (m_hDialog == 0)
        return;
    // UTF-16 never needs more units than UTF-8 has bytes: the buffer grows
    // to the longest path seen and is reused for every file after that.
    if (m_strWide.size() < strText.size() + 1)
        m_strWide.resize(strText.size() + 1);
    int nChars = 0;
    if (!strText.empty() && strText.size() < static_cast<std::size_t>(INT_MAX))
        nChars = ::MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), m_strWide.data(),
                                       static_cast<int>(m_strWide.size() - 1));
    m_strWide[static_cast<std::size_t>(std::max(nChars, 0))] = L'\0';
    ::SetDlgItemTextW(AsWindow(m_hDialog), IDC_STATUS_TEXT, m_strWide.c_str());
}

void CWin32ProgressView::SetRange(int nLower, int nUpper)
{
    if (m_hDialog != 0)
        ::SendDlgItemMessageW(AsWindow(m_hDialog), IDC_PROGRESS_BAR, PBM_SETRANGE, 0,
                              MAKELPARAM(static_cast<WORD>(nLower), static_cast<WORD>(nUpper)));
}

void CWin32ProgressView::SetPos(int nPos)
{
    if (m_hDialog != 0)
        ::SendDlgItemMessageW(AsWindow(m_hDialog), IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(nPos), 0);
}

void CWin32ProgressView::SetPercentText(const std::string& strText)
{
    if (m_hDialog != 0)
        ::SetDlgItemTextW(AsWindow(m_hDialog), IDC_PERCENT_TEXT, WidenText(strText).c_str());
}

void CWin32ProgressView::PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: left for whoever runs the loop that asked.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        const HWND hDialog = AsWindow(m_hDialog);
        const bool bForDialog = hDialog != nullptr && (message.hwnd == hDialog || ::IsChild(hDialog, message.hwnd));
        if (bForDialog && message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
            // Enter is the empty OK action, never the default button.
            OnCommand(IDOK);
            continue;
        }
        if (bForDialog && ::IsDialogMessageW(hDialog, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void CWin32ProgressView::OnCommand(int nId)
{
    if (m_pEvents == nullptr)
        return;
    if (nId == IDCANCEL)
        m_pEvents->OnCancel();
    else if (nId == IDOK)
        m_pEvents->OnOK();
}

// ---------------------------------------------------------------------------
// The confirm window

int CWin32ConfirmView::DoModal(const std::string& strTitle, const std::string&, const std::string& strField,
                               CConfirmEvents& events)
{
    // The explanatory text is the template's own.
    m_pEvents = &events;
    m_strTitle = strTitle;
    m_strField = strField;
    m_hPreviousParent = m_frontEnd.SetModalParent(0);
    const INT_PTR nResult = ::DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_CONFIRM),
                                              AsWindow(m_hPreviousParent), ConfirmProc, reinterpret_cast<LPARAM>(this));
    m_frontEnd.SetModalParent(m_hPreviousParent);
    m_hDialog = 0;
    m_pEvents = nullptr;
    return nResult == IDOK ? DlgResult::Ok : DlgResult::Cancel;
}

void CWin32ConfirmView::OnInit(std::intptr_t hDialog)
{
    m_hDialog = hDialog;
    m_frontEnd.SetModalParent(hDialog);
    // Enter is OK: the template marks the file button as a default button
    // too, which would otherwise take Enter for itself.
    ::SendMessageW(AsWindow(hDialog), DM_SETDEFID, IDOK, 0);
    ::SetWindowTextW(AsWindow(hDialog), WidenText(m_strTitle).c_str());
    ::SetDlgItemTextW(AsWindow(hDialog), IDC_PATH_EDIT, WidenText(m_strField).c_str());
}

bool CWin32ConfirmView::OnCommand(int nId, int& nResult)
{
    switch (nId) {
    case IDOK:
        if (m_pEvents != nullptr && !m_pEvents->OnOK(NarrowText(GetItemText(AsWindow(m_hDialog), IDC_PATH_EDIT))))
            return false;
        nResult = IDOK;
        return true;
    case IDCANCEL:
        nResult = IDCANCEL;
        return true;
    case IDC_FILE_BUTTON:
        if (m_pEvents != nullptr)
            m_pEvents->OnFileButton();
        return false;
    default:
        return false;
    }
}

void CWin32ConfirmView::SetFieldText(const std::string& strField)
{
    m_strField = strField;
    if (m_hDialog == 0)
        return;
    const HWND hDialog = AsWindow(m_hDialog);
    ::SetDlgItemTextW(hDialog, IDC_PATH_EDIT, WidenText(strField).c_str());
    // Shown at once, and the keyboard back with the window.
    ::RedrawWindow(hDialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::SetFocus(hDialog);
}
