#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "RadioImage.h"

// Moving an image's contents to and from files other programs read and write, and
// comparing two images. Every import takes raw bytes and works on a copy: a refusal leaves
// nothing half applied, so callers (and the fuzz targets) only ever see a whole result.
namespace cps::exchange {

// The outcome of an import: the new image, or the first refusal.
struct ImportResult {
    bool ok = false;
    RadioImage image;
    QString error;          // when !ok: where (line or JSON path) and why
    bool fittable = false;  // when !ok: --lenient would have fitted what was refused
    QStringList notes;      // values stored otherwise than written, one line each
};

// CSV records: RFC 4180 with the usual tolerance: CRLF or LF, quoted cells with doubled
// quotes and line breaks inside. Blank lines are left out.
struct CsvRecord {
    int line = 0;  // where it starts, from 1
    QStringList cells;
};
bool readCsvRecords(const QString& text, QList<CsvRecord>* records, QString* error,
                    bool chinese = false);
// A cell as CSV writes it: quoted when it holds a comma, a quote or a line break.
QString csvCell(const QString& cell);

// ": control character \xNN is not allowed" for the first control character (C0, DEL, C1)
// in text, empty when it holds none. Names and texts are shown on screens and terminals,
// where such a character would act, so the importers refuse them.
QString controlRefusal(const QString& text, bool chinese = false);

// Channel CSV ---------------------------------------------------------------------------

// The columns of the common channel-list format, in the order they are written.
const QStringList& csvColumns();

// The channels of image (the rows the grid shows) as CSV with the header above, CRLF line
// ends, UTF-8.
QByteArray exportCsv(const RadioImage& image);

struct CsvOptions {
    bool lenient = false;  // fit what the radio cannot hold and note each change
    bool chinese = false;  // the language of the error and the notes
};

// The rows of csv typed into the channel grid over into (its bands; its Busy Lock and PTT
// ID for the rows listed). Locations the file does not list end up empty.
ImportResult importCsv(const QByteArray& csv, const RadioImage& into,
                       const CsvOptions& options = {});

// Configuration JSON --------------------------------------------------------------------

// Every channel and every section's fields by key, values as `cps show` prints them in
// English.
QByteArray exportJson(const RadioImage& image);

struct JsonOptions {
    bool serviceAccess = false;  // the service access code was given: stun and param may change
    bool chinese = false;        // the language of the error and the notes
};

// Applies the members of json to into through the fields' parse and store rules; members
// absent keep into's values, bytes no field owns stay into's.
ImportResult importJson(const QByteArray& json, const RadioImage& into,
                        const JsonOptions& options = {});

// Comparison ----------------------------------------------------------------------------

struct FieldChange {
    QString where;  // "Channel 5, Rx Frequency" / "Optional Features, Beep"
    QString before;
    QString after;
};

struct ByteRange {
    int first = 0;
    int last = 0;
    bool owned = false;  // owned by a field that shows the same text in both images
};

struct Comparison {
    QList<FieldChange> fields;
    QList<ByteRange> bytes;  // differing bytes no listed field change accounts for
    bool equal = true;       // the two images are the same byte for byte
};

Comparison compare(const RadioImage& before, const RadioImage& after, bool chinese);
// One line per change, in the order compare() found them.
QStringList describe(const Comparison& c, const RadioImage& before, const RadioImage& after,
                     bool chinese);

// Bits of each image byte that some registered field owns (derived ones included).
const std::array<uint8_t, kImageSize>& ownedBits();

}  // namespace cps::exchange
