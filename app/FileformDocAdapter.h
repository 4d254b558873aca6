#pragma once
// The run's view of the file-format document, backed by CToviFileformDoc.

#include "app/ConverterApp.h"

#include <memory>

std::unique_ptr<CConversionDoc> MakeFileformDoc();
