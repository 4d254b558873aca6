#pragma once
// Files of the application: a file read in chunks, and an output file that
// replaces its target atomically. Each system has its own bodies
// (system/posix, system/win32).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// The system's handle of an open file, held as a number (a descriptor, or a
/// handle on Windows); kNoFile when none is open.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

/// A file opened for reading. Closed when the object goes.
class CInputFile {
public:
    CInputFile() = default;
    ~CInputFile();
    CInputFile(const CInputFile&) = delete;
    CInputFile& operator=(const CInputFile&) = delete;

    /// Opens the file at the path (bytes, unconverted); false when it cannot
    /// be opened or is a folder.
    bool Open(const std::string& strPath);

    /// Delivers up to nSize bytes; fewer only at the end of the file. A read
    /// error ends the file: what was delivered before it stands, and every
    /// later call returns 0. Returns 0 at the end of the file.
    std::size_t Read(char* pBuffer, std::size_t nSize)
    {
        if (m_nBytesBeforeFault < 0)
            return ReadFromSystem(pBuffer, nSize);
        const auto nLeft = static_cast<std::size_t>(m_nBytesBeforeFault);
        const std::size_t nDone = ReadFromSystem(pBuffer, nSize < nLeft ? nSize : nLeft);
        m_nBytesBeforeFault -= static_cast<long long>(nDone);
        if (m_nBytesBeforeFault == 0 && nDone < nSize)
            m_bReadError = true;  // the injected fault
        return nDone;
    }

    /// True when a read error ended the file early.
    bool HadReadError() const { return m_bReadError; }

    void Close();

    /// Test seam: every input file made after this call fails with a read
    /// error, as a faulty disk would, once nBytes have been read from it; a
    /// negative nBytes switches the fault off again.
    static void InjectReadError(long long nBytes) { s_nInjectedFaultAfter = nBytes; }

private:
    /// Reads as Read does, from the system (a body per system).
    std::size_t ReadFromSystem(char* pBuffer, std::size_t nSize);

    inline static long long s_nInjectedFaultAfter = -1;

    FileHandle m_hFile = kNoFile;
    bool m_bReadError = false;
    /// Bytes still to read before the injected fault; -1 when none is injected.
    long long m_nBytesBeforeFault = s_nInjectedFaultAfter;
};

/// Why an output file could not be created or written. Each kind but Other
/// has a line of its own that tells the user (OutputFailureLine).
enum class EOutputFailure {
    None,
    Other,           ///< nothing more to tell than that the file was not written
    NoRights,        ///< the folder or the file may not be written by this user
    ReadOnly,        ///< the file is marked read-only
    InUse,           ///< another program holds the file open
    DiskFull,        ///< no room left on the disk
    UntrustedLink,   ///< the target is a link another user may have planted
    NotRegularFile,  ///< the target is a device, a FIFO, a socket or the like
    // Where the write was handed to the program started with administrator
    // rights (Windows only):
    ElevationDeclined,  ///< the user did not allow it
    ElevationFailed,    ///< it did not start, or could not write either
};

/// The line that explains a failure to the user, in the user's language
/// (system/UserLanguage.h); "" for None and Other.
std::string OutputFailureLine(EOutputFailure eFailure);

/// The lines whose wording is the system's own (no rights, read-only, an
/// untrusted link, a target that is not a file); "" for the others. A body
/// per system; OutputFailureLine gives them.
const char* SystemFailureLine(EOutputFailure eFailure);

/// The message followed by the failure's line on a line of its own, or the
/// message alone when the failure has no line.
std::string WithFailureLine(std::string strMessage, EOutputFailure eFailure);

/// The message of an output file that could not be written, with the line
/// that says why.
std::string OutputFailureMessage(const std::string& strPath, EOutputFailure eFailure);

/// An output file that replaces its target whole or not at all.
///
/// Create() opens a new temporary file in the target's folder; Write() fills
/// it; Commit() flushes and syncs it and renames it over the target. The
/// target is untouched until the rename, and an object destroyed before a
/// successful Commit() removes its temporary file. Where the system allows,
/// the temporary file has no name until Commit(), and a process ended by a
/// signal leaves nothing of it behind. An existing target's
/// permission bits are kept, less set-user-ID and set-group-ID; a new file
/// gets 0666 less the umask.
///
/// A target that is a symbolic link (on Windows, a reparse point) has the
/// file it names replaced, not the link, provided the link is the user's
/// own (or the administrator's) and does not lie in a folder that everyone
/// may write but another user owns: anyone may plant a link in /tmp, and
/// following it would replace a file of the user's that the link names.
/// Such a link is refused (UntrustedLink). A target that exists and is
/// neither a regular file nor a folder (a device, a FIFO, a socket) is
/// refused at once (NotRegularFile), before anything opens it.
///
/// In place: when the folder refuses the temporary file but the target
/// exists and may be written (a writable USER.YLI in a folder the user may
/// not write), the file is written in place instead. Write() then fills a
/// scratch file outside the folder; Commit() syncs it, keeps a copy of the
/// old bytes, overwrites the target with the new ones and syncs it, and
/// puts the old bytes back should that fail. The old bytes survive a failed
/// write, but not a crash in the middle of the overwrite (ending signals are
/// held off meanwhile); a caller that keeps a backup of the old file should
/// do so when IsWrittenInPlace().
class CAtomicOutputFile {
public:
    CAtomicOutputFile() = default;
    ~CAtomicOutputFile();
    CAtomicOutputFile(const CAtomicOutputFile&) = delete;
    CAtomicOutputFile& operator=(const CAtomicOutputFile&) = delete;

    /// Creates the temporary file for the target path; false when it cannot
    /// be created, and when the target exists but may not be written.
    bool Create(const std::string& strTarget);

    /// Appends bytes. False once any write has failed (disk full, I/O error);
    /// the failure sticks and Commit() will fail.
    bool Write(std::string_view bytes);

    /// Writes out what is buffered, syncs, closes and renames the file over
    /// the target. False on any failure; the temporary file is then removed
    /// and the target is as it was.
    bool Commit();

    /// Removes the temporary file; the target stays as it was.
    void Abandon();

    /// Why the latest Create(), Write() or Commit() failed; None while
    /// nothing has failed.
    EOutputFailure GetFailure() const { return m_eFailure; }

    /// True after a Create() that chose to write the target in place (see
    /// the class comment); false for the usual replacement.
    bool IsWrittenInPlace() const { return m_bInPlace; }

private:
    /// Writes out what is buffered; false once any write has failed.
    bool Flush();
    /// Hands bytes to the system (the system's part); false, and m_bFailed
    /// set, when they cannot all be written.
    bool WriteOut(const char* pData, std::size_t nSize);

    /// Records why the file failed (the first reason sticks) and returns false.
    bool Fail(EOutputFailure eFailure);

    /// Opens the existing target for writing in place and the scratch file
    /// that collects the new bytes (the system's part).
    bool CreateInPlace();
    /// Overwrites the target with the scratch file's bytes, restoring the
    /// old bytes on failure (the system's part).
    bool CommitInPlace();

    FileHandle m_hFile = kNoFile;
    bool m_bFailed = false;
    EOutputFailure m_eFailure = EOutputFailure::None;
    FileHandle m_hTarget = kNoFile;  ///< the target, open while it is written in place
    bool m_bInPlace = false;         ///< writing the target in place (see the class comment)
    bool m_bUnnamed = false;         ///< the temporary file gets its name in Commit()
    std::string m_strTarget;
    std::string m_strTemp;
    std::string m_strBuffer;
    std::uint64_t m_nWritten = 0;           ///< bytes handed to the system so far
    std::uint64_t m_nWriteBackStarted = 0;  ///< of them, bytes whose writing to disk has been started
};

/// Reads the file at the path whole into strBytes (what is read back,
/// compared or summed up at once); false when it does not open or a read
/// error stops it (strBytes then holds what came before).
bool ReadFileBytes(const std::string& strPath, std::string& strBytes);
