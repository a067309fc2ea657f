#include "store/StoreTestSeam.h"

#include <algorithm>
#include <utility>

bool TObjectTablePeer::CachesAreTrue(const TObjectTable& t, std::string* why) {
    const auto wrong = [&](const std::string& index, const std::string& text) {
        if (why) *why = std::string(t.ClassName()) + ", " + index + ": " + text;
        return false;
    };
    const auto str = [](auto v) { return std::to_string(v); };

    // The records' IDs in rising order, each with its index: runs of one ID give how many
    // records have it and which comes first.
    std::vector<std::pair<std::int32_t, int>> ids;
    ids.reserve(t.records_.size());
    for (int i = 0; i < t.RecordCount(); ++i) ids.emplace_back(t.records_[static_cast<std::size_t>(i)]->ID, i);
    std::sort(ids.begin(), ids.end());

    std::size_t distinct = 0;
    std::int32_t nextUsed = 1;   // the lowest ID from 1 up that no record has, so far
    for (std::size_t k = 0; k < ids.size();) {
        const std::int32_t id = ids[k].first;
        std::size_t end = k;
        while (end < ids.size() && ids[end].first == id) ++end;
        const int count = static_cast<int>(end - k);
        const int first = ids[k].second;
        ++distinct;
        if (t.idCount_.Get(id) != count)
            return wrong("ID count", "ID " + str(id) + " is counted " + str(t.idCount_.Get(id)) + " times, " +
                                         str(count) + " records have it");
        if (t.firstIndexValid_ && t.firstIndex_.Get(id) != first + 1)
            return wrong("first record of each ID", "ID " + str(id) + " points at record " +
                                                        str(t.firstIndex_.Get(id) - 1) + ", its first record is " +
                                                        str(first));
        if (id == nextUsed) ++nextUsed;
        k = end;
    }
    if (t.idCount_.Size() != distinct)
        return wrong("ID count", "counts " + str(t.idCount_.Size()) + " IDs, the records have " + str(distinct));
    if (t.firstIndexValid_ && t.firstIndex_.Size() != distinct)
        return wrong("first record of each ID",
                     "holds " + str(t.firstIndex_.Size()) + " IDs, the records have " + str(distinct));
    if (t.freeHint_ < 1 || nextUsed < t.freeHint_)
        return wrong("lowest free ID", "every ID below " + str(t.freeHint_) + " is taken to be in use, ID " +
                                           str(nextUsed) + " is free");

    if (!t.parentIndexValid_) return true;
    // Each list strictly rising and of records of its parent, and as many entries as records:
    // then every record stands in exactly the list of its parent.
    std::size_t listed = 0;
    for (const auto& [parent, list] : t.parentIndex_) {
        for (std::size_t k = 0; k < list.size(); ++k) {
            const int i = list[k];
            if (i < 0 || i >= t.RecordCount())
                return wrong("records of each parent", "parent " + str(parent) + " lists record " + str(i) +
                                                           " of " + str(t.RecordCount()));
            if (k > 0 && i <= list[k - 1])
                return wrong("records of each parent", "parent " + str(parent) + " lists record " + str(i) +
                                                           " after record " + str(list[k - 1]));
            if (t.records_[static_cast<std::size_t>(i)]->ParentID != parent)
                return wrong("records of each parent",
                             "parent " + str(parent) + " lists record " + str(i) + ", whose parent is " +
                                 str(t.records_[static_cast<std::size_t>(i)]->ParentID));
        }
        listed += list.size();
    }
    if (listed != t.records_.size())
        return wrong("records of each parent",
                     "lists " + str(listed) + " records, the table has " + str(t.records_.size()));
    if (t.lastParentList_) {
        const auto it = t.parentIndex_.find(t.lastParent_);
        if (it == t.parentIndex_.end() || &it->second != t.lastParentList_)
            return wrong("list of the last parent appended to",
                         "it is not the list of parent " + str(t.lastParent_));
    }
    return true;
}
