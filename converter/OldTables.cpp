#include "converter/OldTables.h"

namespace vantrel {

bool TObjectTableOld::Locate(std::int32_t id) {
    const int i = IndexOfID(id);
    if (i < 0) {
        if (!records_.empty()) cursor_ = RecordCount() - 1;
        return false;
    }
    cursor_ = i;
    return true;
}

}  // namespace vantrel
