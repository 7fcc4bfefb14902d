#pragma once
// Lists of indices, one list per item (the faces around each vertex, say),
// stored end to end in one array with the start of each list in another. Read
// like a vector of vectors: lists[i] is a span over list i. Built in one go,
// so a million short lists cost two allocations instead of a million.

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

class IndexLists {
public:
    IndexLists() = default;
    // `starts` holds where each list begins in `items`, followed by the end of
    // the last list; it is non-decreasing and ends at items.size().
    IndexLists(std::vector<size_t> starts, std::vector<int> items)
        : starts(std::move(starts)), items(std::move(items))
    {
    }

    // Number of lists.
    size_t size() const { return starts.empty() ? 0 : starts.size() - 1; }
    bool empty() const { return size() == 0; }
    // Drops every list and frees the memory.
    void clear()
    {
        starts = {};
        items = {};
    }
    std::span<const int> operator[](size_t i) const
    {
        return {items.data() + starts[i], starts[i + 1] - starts[i]};
    }

private:
    std::vector<size_t> starts;
    std::vector<int> items;
};
