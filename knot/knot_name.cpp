#include "knot/knot_name.h"

#include "knot/homfly.h"
#include "knot/knot_table.h"

namespace vek {

LinkDiagram GaussToDiagram(const GaussCode& code)
{
    LinkDiagram d;
    d.components.resize(1);
    for (const GaussPassage& p : code.passages)
        d.components[0].push_back({p.crossing, p.over});
    d.sign = code.sign;
    return d;
}

KnotName NameKnotDiagram(const LinkDiagram& diagram)
{
    KnotName result;
    if (diagram.sign.size() > static_cast<size_t>(kMaxHomflyCrossings))
        return result;
    if (!HomflyPolynomial(diagram, result.homfly, kHomflyNodeBudget))
        return result;
    result.evaluated = true;
    std::vector<std::string> names = KnotsWithHomfly(result.homfly);
    if (names.empty()) {
        result.name = "unknown";
    } else {
        result.name = names.front();
        if (names.size() > 1)
            result.candidates = std::move(names);
    }
    return result;
}

}  // namespace vek
