#pragma once
// The windowing front end as a module of its own (toviconv-wx.so), opened at
// run time only when windows will be shown, so that runs without them never
// load the toolkit. The module takes the platform services (code pages,
// paths, message boxes) from the program that opens it. This header needs no
// toolkit header.

#include "frontends/UserDialogs.h"
#include "system/FileSystem.h"

/// The module's file name.
inline constexpr const char* kWindowModuleName = "toviconv-wx.so";
/// The name of its one entry point, of type FnCreateWindowFrontEnd.
inline constexpr const char* kCreateWindowFrontEndName = "ToviconvCreateWindowFrontEnd";

extern "C" {
/// Starts the toolkit and returns the windowing front end, which owns the
/// toolkit session until it is deleted; nullptr, silently, when the toolkit
/// cannot start (no usable display). The file system outlives the front end.
using FnCreateWindowFrontEnd = CUserDialogs* (*)(CFileSystem* pFileSystem);

CUserDialogs* ToviconvCreateWindowFrontEnd(CFileSystem* pFileSystem);
}
