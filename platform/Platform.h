#pragma once
// What the program gets from the system it runs on: its file system and the
// front end through which it meets the user. Each system has its own bodies.

#include "platform/FileSystem.h"
#include "platform/UserDialogs.h"

#include <memory>
#include <string>
#include <vector>

/// The system's file system. arRoots (paths as given on the command line)
/// replaces the default search roots when not empty.
std::unique_ptr<CFileSystem> CreateFileSystem(std::vector<std::string> arRoots);

/// The front end of an interactive run: the system's windows where they can
/// be shown, otherwise (or with bConsole) the console dialogue.
std::unique_ptr<CUserDialogs> CreateFrontEnd(CFileSystem& fileSystem, bool bConsole);
