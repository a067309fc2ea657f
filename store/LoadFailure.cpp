#include "store/LoadFailure.h"

#include "store/StoreServices.h"

namespace {

// The language file's words for what broke the load, and for where.
struct TKindKey {
    TLoadFailureKind Kind;
    const char* Key;
};
constexpr TKindKey kKindKeys[] = {
    {TLoadFailureKind::CutShort, "FILEACC_DAMAGE_CUT_SHORT"},
    {TLoadFailureKind::BadCoding, "FILEACC_DAMAGE_BAD_CODING"},
    {TLoadFailureKind::MissingSection, "FILEACC_DAMAGE_MISSING_SECTION"},
    {TLoadFailureKind::BadInteger, "FILEACC_DAMAGE_BAD_INTEGER"},
    {TLoadFailureKind::BadReal, "FILEACC_DAMAGE_BAD_REAL"},
    {TLoadFailureKind::BadDate, "FILEACC_DAMAGE_BAD_DATE"},
    {TLoadFailureKind::DuplicateID, "FILEACC_DAMAGE_DUPLICATE_ID"},
    {TLoadFailureKind::OutOfRange, "FILEACC_DAMAGE_OUT_OF_RANGE"},
    {TLoadFailureKind::IncompleteRecord, "FILEACC_DAMAGE_INCOMPLETE_RECORD"},
};
constexpr const char* kSectionKey = "FILEACC_DAMAGE_AT_SECTION";
constexpr const char* kRecordKey = "FILEACC_DAMAGE_AT_RECORD";
constexpr const char* kLineKey = "FILEACC_DAMAGE_AT_LINE";

// None and Unreadable have no words of their own.
const char* KindKey(TLoadFailureKind kind) {
    for (const TKindKey& k : kKindKeys)
        if (k.Kind == kind) return k.Key;
    return nullptr;
}

}  // namespace

std::vector<std::string> LoadFailureMessageKeys() {
    std::vector<std::string> keys{kSectionKey, kRecordKey, kLineKey};
    for (const TKindKey& k : kKindKeys) keys.emplace_back(k.Key);
    return keys;
}

std::string DescribeLoadFailure(const TLoadFailure& failure) {
    const char* key = KindKey(failure.Kind);
    if (!key) return {};
    const auto text = StoreServices().MessageText;
    std::string where;
    const auto add = [&](const char* placeKey, const std::string& value) {
        if (!where.empty()) where += ", ";
        where += text(placeKey) + " " + value;
    };
    if (!failure.Section.empty()) add(kSectionKey, failure.Section);
    if (failure.Record > 0) add(kRecordKey, std::to_string(failure.Record));
    if (failure.Field > 0) add(kLineKey, std::to_string(failure.Field));
    return where.empty() ? text(key) : where + ": " + text(key);
}
