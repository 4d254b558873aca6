#pragma once
// Failure reporting of the sheet model.
//
// Every failed check of a model operation shows one OK box whose text grows
// more desperate with the number of failures its class has already reported,
// names the class and the operation, and then raises that class's counter.
// The operation returns the failure value of its result type.

#include <string>
#include <string_view>

/// The three classes that keep a failure counter of their own.
enum class EFailureClass { FixedFree, Sheet, SupportInfo };

/// Failure value of operations with an integer result (index, count, type, status).
inline constexpr int kFailInt = -99;
/// Failure value of operations with a real result (position, size, coordinate).
inline constexpr double kFailReal = -99.0;
/// Failure value of operations with a text result: the one byte 0x9D.
inline constexpr std::string_view kFailText = "\x9D";

/// Composes the report for the class's current level ("また" once per earlier
/// failure, at most 10 times, the level text, then "<class>::<method>"), shows it in an OK box
/// and, once the box is closed, raises the class's counter (saturating at
/// INT_MAX).
void ReportMethodFailure(EFailureClass eClass, const char* pszClassName, const char* pszMethodName);

/// Shows the fixed out-of-memory message; no counter changes.
void ReportMemoryExhausted();

/// The text ReportMethodFailure would show now (no box, no counter change).
std::string ComposeMethodFailureText(EFailureClass eClass, const char* pszClassName, const char* pszMethodName);

/// Number of failures the class has reported so far.
int GetFailureCount(EFailureClass eClass);

/// Sets every counter back to 0. Tests only: the product never lowers a counter.
void ResetFailureCountsForTesting();
