#include "dialogs/knot_filter.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::vector<KnotGroup> FilterKnots(const std::vector<KnotChoice>& choices, const std::string& typed)
{
    std::string filter = typed;
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    filter.erase(filter.begin(), std::find_if(filter.begin(), filter.end(), notSpace));
    filter.erase(std::find_if(filter.rbegin(), filter.rend(), notSpace).base(), filter.end());
    if (!filter.empty() && filter.back() == '*')
        filter.pop_back();
    filter = Lower(filter);
    std::map<int, std::vector<int>> byCrossings;
    for (size_t k = 0; k < choices.size(); ++k)
        if (Lower(choices[k].name).compare(0, filter.size(), filter) == 0)
            byCrossings[choices[k].crossings].push_back(static_cast<int>(k));
    std::vector<KnotGroup> groups;
    for (auto& [crossings, rows] : byCrossings)
        groups.push_back({crossings, std::move(rows)});
    return groups;
}

std::string ChosenKnotName(const KnotChoice& choice, bool mirror)
{
    return mirror && choice.mirrorDiffers ? choice.name + "*" : choice.name;
}
