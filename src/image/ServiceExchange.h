#pragma once

#include <QString>

namespace cps {

// The image range a service dialog exchanges with the radio on its own, [start, end).
struct ServiceRange {
    const char* section;  // `cps show` section of the dialog
    int start;
    int end;
};

constexpr ServiceRange kSqlTuningRange{"sql", 0xFA0, 0xFB4};
constexpr ServiceRange kParamAdjustRange{"param", kSqlTuningRange.end, 0xFD0};

// The radio's squelch and audio calibration, [start, end): the two service ranges, which a
// write sends only when the service mode allows it.
constexpr int kCalibrationStart = kSqlTuningRange.start;
constexpr int kCalibrationEnd = kParamAdjustRange.end;

// The range of a section that has one, else null.
inline const ServiceRange* findServiceRange(const QString& section) {
    static constexpr ServiceRange ranges[] = {kParamAdjustRange, kSqlTuningRange};
    for (const ServiceRange& r : ranges)
        if (section.compare(QLatin1String(r.section), Qt::CaseInsensitive) == 0) return &r;
    return nullptr;
}

}  // namespace cps
