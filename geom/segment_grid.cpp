#include "geom/segment_grid.h"

#include <algorithm>
#include <cmath>

namespace vek {

namespace {

// A segment whose box spans more cells than this goes on the list of long
// ones; a box of more cells is searched through every id instead. Either
// way no segment takes more than this many entries.
constexpr long long kMaxCells = 256;
// Cell indices per axis: 21 bits each make one 64-bit key.
constexpr long long kCellsPerAxis = 1LL << 21;

long long CellIndex(double x, double origin, double cell)
{
    const double c = std::floor((x - origin) / cell);
    // Clamped alike for adding and searching, so touching boxes still meet.
    if (!(c >= 0.0))
        return 0;
    return c >= static_cast<double>(kCellsPerAxis - 1) ? kCellsPerAxis - 1 : static_cast<long long>(c);
}

}  // namespace

SegmentGrid::SegmentGrid(const double origin[3], double cell, int ids)
    : m_origin{origin[0], origin[1], origin[2]}, m_cell(cell), m_seen(static_cast<size_t>(std::max(ids, 0)), 0)
{
}

void SegmentGrid::NextStamp()
{
    if (++m_stamp == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_stamp = 1;
    }
}

bool SegmentGrid::CellRange(const Box3& box, long long lo[3], long long hi[3]) const
{
    long long cells = 1;
    for (int a = 0; a < 3; ++a) {
        lo[a] = CellIndex(box.lo[a], m_origin[a], m_cell);
        hi[a] = CellIndex(box.hi[a], m_origin[a], m_cell);
        cells *= hi[a] - lo[a] + 1;
        if (cells > kMaxCells)
            return false;
    }
    return true;
}

void SegmentGrid::Add(int id, const Box3& box)
{
    long long lo[3], hi[3];
    if (!CellRange(box, lo, hi)) {
        m_long.push_back(id);
        return;
    }
    for (long long i = lo[0]; i <= hi[0]; ++i)
        for (long long j = lo[1]; j <= hi[1]; ++j)
            for (long long k = lo[2]; k <= hi[2]; ++k)
                m_cells[Key(i, j, k)].push_back(id);
}

}  // namespace vek
