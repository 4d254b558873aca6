#pragma once
// What the writer's POSIX tests share to bring faults about: a child without
// privileges (tests/support/ChildProcess.h), and a small disk that fills.

#include "tests/support/ChildProcess.h"
#include "tests/support/FileTestSupport.h"

#include <string>
#include <string_view>
#include <sys/mount.h>

/// A file system of 16 KiB of its own, gone with the object. Not mounted
/// where mounting is not permitted (the test then skips).
class CSmallDisk {
public:
    CSmallDisk() : m_bMounted(::mount("tmpfs", m_folder.Path().c_str(), "tmpfs", 0, "size=16k") == 0) {}
    ~CSmallDisk()
    {
        if (m_bMounted)
            ::umount2(m_folder.Path().c_str(), MNT_DETACH);
    }
    CSmallDisk(const CSmallDisk&) = delete;
    CSmallDisk& operator=(const CSmallDisk&) = delete;

    bool Mounted() const { return m_bMounted; }
    const std::string& Path() const { return m_folder.Path(); }
    std::string File(std::string_view name) const { return m_folder.File(name); }

private:
    CTempFolder m_folder;
    bool m_bMounted;
};
