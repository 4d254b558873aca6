#pragma once
// The front end through which the program meets the user on the system it
// runs on. Each system has its own body.

#include "frontends/UserDialogs.h"
#include "system/FileSystem.h"

#include <memory>

/// The front end of an interactive run: the system's windows where they can
/// be shown, otherwise (or with bConsole) the console dialogue.
std::unique_ptr<CUserDialogs> CreateFrontEnd(CFileSystem& fileSystem, bool bConsole);
