#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace cps::json {

// JSON text with the members in the order given, one a line: QJsonObject sorts its keys,
// while scripts and readers expect the order the tables and dialogs have.
using Members = QList<QPair<QString, QByteArray>>;  // name, value as JSON text

QByteArray string(const QString& s);
QByteArray boolean(bool b);
QByteArray number(double n);
// Values are JSON text; nested objects and arrays are laid out at indent + 2.
QByteArray object(const Members& members, int indent = 0);
QByteArray array(const QList<QByteArray>& items, int indent = 0);

}  // namespace cps::json
