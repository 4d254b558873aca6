#pragma once
// A whole file in memory: what is read back, compared or summed up at once.

#include <string>

/// Reads the file at the path whole into strBytes; false when it does not
/// open or a read error stops it (strBytes then holds what came before).
bool ReadFileBytes(const std::string& strPath, std::string& strBytes);
