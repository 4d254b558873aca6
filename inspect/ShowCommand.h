#pragma once
// "toviconv show": what a user-sheet file holds, for people and for scripts.

#include <string>

/// Prints the sheets of the file at the path (any version) on standard
/// output: as text in the user's language, or with bJson as one JSON
/// document (the schema is in the manual page). A file that cannot be read
/// or is no user-sheet file gets one line on standard error. Returns the
/// exit status: 0 when shown, 1 otherwise.
int RunShow(const std::string& strPath, bool bJson);

/// What RunShow prints: the report for standard output in strOut, the error
/// line for standard error in strError (the model's reports of a damaged
/// file still go to the installed message box handler); its exit status.
int MakeShowReport(const std::string& strPath, bool bJson, std::string& strOut, std::string& strError);
