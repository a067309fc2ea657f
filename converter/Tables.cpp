#include "converter/Tables.h"

#include "platform/Exception.h"
#include "store/ParentOrderSort.h"

namespace vantrel {

void TObjectTable::Sort() {
    const bool moved = parentordersort::Sort(
        RecordCount(), [&](int i) { return records_[static_cast<std::size_t>(i)]->ParentID; },
        [&](int i) { return records_[static_cast<std::size_t>(i)]->Order; },
        [&](int i, int j) { std::swap(records_[static_cast<std::size_t>(i)], records_[static_cast<std::size_t>(j)]); });
    if (moved) {
        ForgetIndex();
        modified_ = true;
    }
}

bool TObjectTable::IsInOrder() const {
    return parentordersort::IsInOrder(
        RecordCount(), [&](int i) { return records_[static_cast<std::size_t>(i)]->ParentID; },
        [&](int i) { return records_[static_cast<std::size_t>(i)]->Order; });
}

void TObjectTable::RaiseCopyClass() const {
    const std::string name = ClassName();
    throw Exception(name + ".Copy - not " + name + " class! Call to Support.");
}

}  // namespace vantrel
