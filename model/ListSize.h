#pragma once
// Sizes of the model's lists as the int indices of its operations.

#include <climits>
#include <cstddef>

/// The number of items, saturating at INT_MAX.
template <class TList>
int ListSize(const TList& lst)
{
    const std::size_t n = lst.size();
    return n < static_cast<std::size_t>(INT_MAX) ? static_cast<int>(n) : INT_MAX;
}

/// True when one more item would get an index beyond INT_MAX; the adding
/// operations then refuse like an exhausted memory.
template <class TList>
bool IsListFull(const TList& lst)
{
    return lst.size() >= static_cast<std::size_t>(INT_MAX);
}
