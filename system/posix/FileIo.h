#pragma once
// Settings of the POSIX output file that tests reach.

/// Whether an output file may stay unnamed until its Commit() where the file
/// system allows (the default). Off, every output file has its hidden name
/// from Create() on, as on file systems without unnamed files.
void SetUnnamedOutputFiles(bool bAllowed);
