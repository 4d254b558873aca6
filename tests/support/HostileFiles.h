#pragma once
// Legacy user-sheet files as no user writes them but a converter must take:
// keywords in any order and case, numbers at the bounds of the disc-label
// rule and of the rounding, empty and surplus fields, long lines, names
// with double-byte characters and markup. The same seed gives the same bytes.

#include <string>

/// A version-2 file (lengths in tenths) or a version-3/4 file for the seed.
std::string MakeHostileFile(unsigned nSeed, bool bVersion2);
