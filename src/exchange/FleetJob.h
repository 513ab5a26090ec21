#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "RadioImage.h"

namespace cps::field {
struct Table;
}

// A fleet job: one configuration for many radios, each row a radio with the values that
// make it itself (its MSK ID, its DTMF ID, ...). The command line and the fleet window both
// read, check and turn a job into images here.
namespace cps::exchange {

// One column of a job: a section's field, as `cps set` names it ("msk:ID Code"), or a cell
// of a channel ("channel 3:Chnnel Name").
struct JobColumn {
    const field::Table* table = nullptr;  // the section, or the channel table
    int field = -1;                       // index in table's fields
    int channel = 0;                      // 1 to 129 for a channel cell; 0 for a section field

    QString header() const;
    // Counting down a column goes in hexadecimal (MSK codes) rather than in decimal.
    bool hex() const;
    bool operator==(const JobColumn& o) const {
        return table == o.table && field == o.field && channel == o.channel;
    }
};

// A header cell to its column; false with why (in Chinese when chinese) for a name no
// section or channel has.
bool parseJobColumn(const QString& header, JobColumn* column, QString* why, bool chinese = false);
// The section fields a job can name, as header texts, in the tables' order; service
// sections only with serviceAccess.
QStringList jobSectionHeaders(bool serviceAccess);
// The channel cells' headings ("Rx Frequency", ... "Shift"), for "channel N:HEADING".
QStringList jobChannelHeadings();

struct JobRow {
    int line = 0;  // the line in the file (the header is line 1)
    QString label;
    QStringList values;  // one per column; empty keeps the document's value
};

struct Job {
    QList<JobColumn> columns;
    QList<JobRow> rows;
    bool labelled = true;  // the file's first column is the label (for column numbers)
};

// The label column's header.
inline QString jobLabelHeader() { return QStringLiteral("Label"); }

// A job file's header and rows. On a refusal error names the line and column, in Chinese
// when chinese.
bool readJob(const QByteArray& csv, Job* job, QString* error, bool chinese = false);
// The job as a file: the Label column, then one column per field, CRLF line ends, UTF-8.
QByteArray writeJob(const Job& job);

// One radio of a job: the document with its row's values.
struct JobRadio {
    int line = 0;
    QString label;
    RadioImage image;
};

struct JobImages {
    bool ok = false;
    QString error;             // "line 4, column 2 (msk:ID Code): ..."
    bool needsAccess = false;  // the refusal is a service section without the access code
    QList<JobRadio> radios;
};

// Every row applied to a copy of document through the fields' parse and store rules, as a
// configuration import applies them: a value refused, or one the radio would hold
// otherwise than written, refuses the whole job. The error is in Chinese when chinese.
JobImages jobImages(const Job& job, const RadioImage& document, bool serviceAccess,
                    bool chinese = false);

// first, then count - 1 further values, each the one before with its last run of digits
// counted up, width kept ("0009" -> "0010"; "Unit 7" -> "Unit 8"); in hexadecimal
// ("00A9" -> "00AA") when hex. A text without digits repeats.
QStringList fillSeries(const QString& first, int count, bool hex);

}  // namespace cps::exchange
