#include "knot/knot_table.h"

#include <map>

#include "knot/knot_table_data.h"

namespace vek {

namespace {

struct Index {
    std::map<std::string, int, std::less<>> byName;
    std::map<Laurent2, std::vector<std::string>> byHomfly;
};

const Index& TableIndex()
{
    static const Index index = [] {
        Index ix;
        const auto& rows = KnotTable();
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            ix.byName.emplace(rows[i].name, i);
        // In the table's order, a knot before its mirror image.
        for (const KnotTableRow& r : rows) {
            ix.byHomfly[r.homfly].push_back(r.name);
            if (r.mirrorDiffers)
                ix.byHomfly[r.homfly.MirrorV()].push_back(r.name + "*");
        }
        return ix;
    }();
    return index;
}

}  // namespace

const std::vector<KnotTableRow>& KnotTable()
{
    static const std::vector<KnotTableRow> rows = [] {
        std::vector<KnotTableRow> out;
        out.reserve(kKnotTableSize);
        for (int i = 0; i < kKnotTableSize; ++i) {
            const KnotTableEntry& e = kKnotTableEntries[i];
            KnotTableRow r;
            r.name = e.name;
            r.crossings = e.crossings;
            r.symmetry = e.symmetry;
            r.pd = e.pd;
            for (int k = 0; k < e.termCount; ++k)
                r.homfly.AddScaled(Laurent2::Constant(1), e.terms[3 * k + 2], e.terms[3 * k], e.terms[3 * k + 1]);
            r.mirrorDiffers = r.symmetry == "reversible" || r.symmetry == "chiral";
            out.push_back(std::move(r));
        }
        return out;
    }();
    return rows;
}

const KnotTableRow* FindKnot(std::string_view name, bool& mirror)
{
    mirror = !name.empty() && name.back() == '*';
    if (mirror)
        name.remove_suffix(1);
    const Index& ix = TableIndex();
    const auto it = ix.byName.find(name);
    return it == ix.byName.end() ? nullptr : &KnotTable()[it->second];
}

bool KnotPdByName(std::string_view name, PdCode& code, std::string& error)
{
    bool mirror = false;
    const KnotTableRow* row = FindKnot(name, mirror);
    if (!row) {
        error = "unknown knot name '" + std::string(name) +
                "': the table has 0_1, 3_1 ... 10_165, 11a_1 ... 11n_185, 12a_1 ... 12n_888 (NAME* for the mirror "
                "image)";
        return false;
    }
    if (!ParsePdCode(row->pd, code, error))
        return false;
    if (mirror)
        code = MirrorPd(code);
    return true;
}

std::vector<std::string> KnotsWithHomfly(const Laurent2& p)
{
    const Index& ix = TableIndex();
    const auto it = ix.byHomfly.find(p);
    return it == ix.byHomfly.end() ? std::vector<std::string>{} : it->second;
}

}  // namespace vek
