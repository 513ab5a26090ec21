#include <string>

#include "FeatureFields.h"

namespace cps {

namespace {

using field::Field;

constexpr int kCodeLength = 4;

// An MSK code: four hexadecimal digits typed in capitals.
Field mskCode(const char* key, field::Text label, int offset) {
    return Field::ascii(key, label, offset, kCodeLength, QString::fromLatin1(hexDigits()))
        .with(field::kUpper | field::kNormalises)
        .newImage("");
}

field::Table buildMskTable() {
    field::Table t;
    t.section = "msk";
    t.title = {"MSK", "MSK"};
    t.fields.push_back(mskCode("ID Code", {"ID Code", "ID码"}, feature::kMskId));
    // The entries follow each other without gaps, across the image's row boundaries.
    for (int n = 1; n <= feature::kCallListCount; ++n) {
        static const char* const zh[] = {"呼叫列表 1", "呼叫列表 2", "呼叫列表 3",
                                         "呼叫列表 4", "呼叫列表 5", "呼叫列表 6",
                                         "呼叫列表 7", "呼叫列表 8", "呼叫列表 9"};
        t.fields.push_back(mskCode(callListKey(n), {callListKey(n), zh[n - 1]},
                                   feature::kCallList + kCodeLength * (n - 1)));
    }
    return t;
}

}  // namespace

const char* callListKey(int n) {
    static const char* const keys[] = {"Call List 1", "Call List 2", "Call List 3",
                                       "Call List 4", "Call List 5", "Call List 6",
                                       "Call List 7", "Call List 8", "Call List 9"};
    return n >= 1 && n <= feature::kCallListCount ? keys[n - 1] : "";
}

const field::Table& mskFields() {
    static const field::Table table = buildMskTable();
    return table;
}

}  // namespace cps
