#pragma once
// A file-format document for tests of the run: records what the run asks of
// it and answers as told.

#include "app/ConverterApp.h"

#include <string>
#include <vector>

/// Records what the run asks of the document.
struct SDocLog {
    std::vector<std::string> arRead;
    std::vector<std::string> arWritten;
    int nReadResult = 1;
    int nWriteResult = 1;
    int nSheets = 1;
};

DocFactory MakeRecordingDoc(SDocLog& log);
