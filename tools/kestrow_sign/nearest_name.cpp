#include "tools/kestrow_sign/nearest_name.h"

#include <algorithm>
#include <cstddef>

namespace {

std::size_t EditDistance(const std::string& strA, const std::string& strB) {
    // Three rows of the table: two back (for a swap), one back, and this one.
    std::vector<std::size_t> before(strB.size() + 1);
    std::vector<std::size_t> previous(strB.size() + 1);
    std::vector<std::size_t> row(strB.size() + 1);
    for (std::size_t j = 0; j <= strB.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= strA.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= strB.size(); ++j) {
            const std::size_t nCost = strA[i - 1] == strB[j - 1] ? 0 : 1;
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + nCost});
            if (i > 1 && j > 1 && strA[i - 1] == strB[j - 2] && strA[i - 2] == strB[j - 1]) {
                row[j] = std::min(row[j], before[j - 2] + 1);
            }
        }
        before.swap(previous);
        previous.swap(row);
    }
    return previous[strB.size()];
}

} // namespace

std::string NearestName(const std::string& strGiven, const std::vector<std::string>& candidates) {
    std::string strNearest;
    std::size_t nNearest = 0;
    for (const std::string& strCandidate : candidates) {
        const std::size_t nDistance = EditDistance(strGiven, strCandidate);
        if (nDistance * 3 <= std::max(strGiven.size(), strCandidate.size()) &&
            (strNearest.empty() || nDistance < nNearest)) {
            strNearest = strCandidate;
            nNearest = nDistance;
        }
    }
    return strNearest;
}
