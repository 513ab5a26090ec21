#pragma once

#include <QString>

namespace cps {

// The image range a service dialog exchanges with the radio on its own, [start, end).
struct ServiceRange {
    const char* section;  // `cps show` section of the dialog
    int start;
    int end;
};

constexpr ServiceRange kParamAdjustRange{"param", 0xFB4, 0xFD0};
constexpr ServiceRange kSqlTuningRange{"sql", 0xFA0, 0xFB4};

// The range of a section that has one, else null.
inline const ServiceRange* findServiceRange(const QString& section) {
    static constexpr ServiceRange ranges[] = {kParamAdjustRange, kSqlTuningRange};
    for (const ServiceRange& r : ranges)
        if (section.compare(QLatin1String(r.section), Qt::CaseInsensitive) == 0) return &r;
    return nullptr;
}

}  // namespace cps
