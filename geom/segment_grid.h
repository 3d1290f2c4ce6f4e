// SegmentGrid: a hashed grid of cubic cells over segments that change while
// they are searched. A segment goes into every cell its box touches; when a
// segment is moved it is simply added again under its id, and the caller
// judges each id it is given by the segment's present end points. So a
// search may hand out an id whose segment has since moved away or been
// dropped, but never misses one that was added with a box the searched box
// touches.
//
// The segment tree (geom/segment_tree.h) serves a curve that stays as it is
// during a search; this grid serves one that loses vertices as it goes.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "geom/segment_tree.h"

namespace vek {

class SegmentGrid {
public:
    // In:  origin: a corner below every box that will be added or searched;
    //      cell: the cells' edge length (model units, > 0); ids: segment ids
    //      run over 0 ... ids - 1.
    SegmentGrid(const double origin[3], double cell, int ids);

    // Adds segment id under the cells of its box (kept on a list of long
    // segments, seen by every search, when that is too many cells).
    void Add(int id, const Box3& box);

    // Calls visit(id) once for every id added under a cell that the box
    // touches (and every long one), until visit returns false; returns
    // false when it was stopped so.
    template <class Visit>
    bool Search(const Box3& box, Visit&& visit)
    {
        NextStamp();
        for (int id : m_long)
            if (!VisitOnce(id, visit))
                return false;
        long long lo[3], hi[3];
        if (!CellRange(box, lo, hi)) {
            // A box of too many cells: every id added.
            for (const auto& cell : m_cells)
                for (int id : cell.second)
                    if (!VisitOnce(id, visit))
                        return false;
            return true;
        }
        for (long long i = lo[0]; i <= hi[0]; ++i)
            for (long long j = lo[1]; j <= hi[1]; ++j)
                for (long long k = lo[2]; k <= hi[2]; ++k) {
                    const auto found = m_cells.find(Key(i, j, k));
                    if (found == m_cells.end())
                        continue;
                    for (int id : found->second)
                        if (!VisitOnce(id, visit))
                            return false;
                }
        return true;
    }

private:
    template <class Visit>
    bool VisitOnce(int id, Visit& visit)
    {
        if (m_seen[id] == m_stamp)
            return true;
        m_seen[id] = m_stamp;
        return visit(id);
    }

    void NextStamp();
    // The cells a box touches; false when they are more than kMaxCells.
    bool CellRange(const Box3& box, long long lo[3], long long hi[3]) const;
    static std::uint64_t Key(long long i, long long j, long long k)
    {
        return (static_cast<std::uint64_t>(i) << 42) | (static_cast<std::uint64_t>(j) << 21) |
               static_cast<std::uint64_t>(k);
    }

    double m_origin[3];
    double m_cell;
    std::unordered_map<std::uint64_t, std::vector<int>> m_cells;
    std::vector<int> m_long;
    std::vector<std::uint32_t> m_seen;
    std::uint32_t m_stamp = 0;
};

}  // namespace vek
