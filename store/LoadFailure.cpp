#include "store/LoadFailure.h"

#include "store/StoreServices.h"

namespace {

// The language file's words for what broke the load.
const char* KindKey(TLoadFailureKind kind) {
    switch (kind) {
        case TLoadFailureKind::CutShort: return "FILEACC_DAMAGE_CUT_SHORT";
        case TLoadFailureKind::BadCoding: return "FILEACC_DAMAGE_BAD_CODING";
        case TLoadFailureKind::MissingSection: return "FILEACC_DAMAGE_MISSING_SECTION";
        case TLoadFailureKind::BadInteger: return "FILEACC_DAMAGE_BAD_INTEGER";
        case TLoadFailureKind::BadReal: return "FILEACC_DAMAGE_BAD_REAL";
        case TLoadFailureKind::BadDate: return "FILEACC_DAMAGE_BAD_DATE";
        case TLoadFailureKind::DuplicateID: return "FILEACC_DAMAGE_DUPLICATE_ID";
        case TLoadFailureKind::OutOfRange: return "FILEACC_DAMAGE_OUT_OF_RANGE";
        case TLoadFailureKind::IncompleteRecord: return "FILEACC_DAMAGE_INCOMPLETE_RECORD";
        case TLoadFailureKind::None:
        case TLoadFailureKind::Unreadable: break;
    }
    return nullptr;
}

}  // namespace

std::string DescribeLoadFailure(const TLoadFailure& failure) {
    const char* key = KindKey(failure.Kind);
    if (!key) return {};
    const auto text = StoreServices().MessageText;
    std::string where;
    const auto add = [&](const char* placeKey, const std::string& value) {
        if (!where.empty()) where += ", ";
        where += text(placeKey) + " " + value;
    };
    if (!failure.Section.empty()) add("FILEACC_DAMAGE_AT_SECTION", failure.Section);
    if (failure.Record > 0) add("FILEACC_DAMAGE_AT_RECORD", std::to_string(failure.Record));
    if (failure.Field > 0) add("FILEACC_DAMAGE_AT_LINE", std::to_string(failure.Field));
    return where.empty() ? text(key) : where + ": " + text(key);
}
