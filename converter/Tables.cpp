#include "converter/Tables.h"

#include "platform/Exception.h"
#include "store/ParentOrderSort.h"

namespace vantrel {

void TObjectTable::Sort() {
    const bool moved = parentordersort::SortRecords(records_);
    if (moved) {
        ForgetIndex();
        modified_ = true;
    }
}

bool TObjectTable::IsInOrder() const {
    return parentordersort::RecordsInOrder(records_);
}

void TObjectTable::RaiseCopyClass() const {
    const std::string name = ClassName();
    throw Exception(name + ".Copy - not " + name + " class! Call to Support.");
}

}  // namespace vantrel
