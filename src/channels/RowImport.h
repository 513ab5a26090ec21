#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "RadioImage.h"

namespace cps::cli {

// What typing a channel table into the grid over an image gave.
struct RowImportResult {
    bool ok = false;
    // One line each, without the command's prefix: the refusal that stopped the import, or
    // the values the grid's rules changed and the band note.
    QStringList messages;
};

// The table `cps channels` prints: one line per row, the label and the ten column texts as
// the grid shows image (band limits in use), separated by tabs, cells escaped.
QString exportChannelRows(const RadioImage& image, bool chinese);

// Reads the lines of a table in the form `cps channels` prints (label and ten tab-separated
// columns, 129 rows, any order) and types each row into the channel grid over image, left
// to right, under the grid's entry rules and image's band limits in use; then stores the
// grid into image. source names the table in the messages. On a refusal image is left as
// it was.
RowImportResult importChannelRows(const QByteArray& text, const QString& source, RadioImage& image,
                                  bool chinese);

}  // namespace cps::cli
