#pragma once
// File-dialog filters of the run, turned into the toolkit's wildcard form.

#include <string>
#include <string_view>

/// A pattern that matches the same names ignoring ASCII letter case:
/// "USER.YLI" becomes "[Uu][Ss][Ee][Rr].[Yy][Ll][Ii]". Bracket expressions
/// and escaped characters of the pattern are kept as they are.
std::string MakeCaseInsensitivePattern(std::string_view strPattern);

/// The run's "description|pattern|description|pattern||" as the toolkit's
/// "description|pattern|description|pattern": empty trailing pairs dropped,
/// the patterns of a pair separated by ";" without blanks and matching
/// regardless of letter case. A pair without a description is described by
/// its patterns; a pair without a pattern is dropped. "" when nothing is left.
std::string MakeWxWildcard(std::string_view strFilter);
