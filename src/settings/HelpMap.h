#pragma once

#include <QHash>
#include <QString>
#include <QVector>

namespace cps {

// The help file's topic map: which page (and place on it) answers a help context number.
// Context numbers are control, dialog template and command ids. Control ids repeat from
// one dialog to the next, so a control's line may name the dialog it belongs to.
//
// Map file lines ('#' starts a comment; numbers decimal or 0x hexadecimal):
//   dialog TEMPLATE[-LAST] PAGE[#PLACE]       a dialog's own page
//   TEMPLATE[-LAST]:CONTEXT PAGE[#PLACE]      a control inside that dialog
//   CONTEXT PAGE[#PLACE]                      commands, the main window, the channel view
class HelpMap {
  public:
    static constexpr int kDialogBase = 0x10000;  // framework help for a dialog: base + template
    static const QString& contentsPage();

    // Reads the map text; returns false (and says which line) on a line it cannot read.
    bool parse(const QString& text, QString* error = nullptr);

    // The topic for a request. hosts: ids of the windows around the focus, nearest first
    // (a dialog page inside a dialog gives both). A number without a topic of its own shows
    // the page of its dialog, else the contents.
    QString resolve(int context, const QVector<int>& hosts = {}) const;

    // Every page (with its place) the map names, for checks of the help files.
    QVector<QString> topics() const;
    bool isDialog(int templateId) const { return dialogs_.contains(templateId); }
    bool hasOwnTopic(int context, int dialog = 0) const;

  private:
    static qint64 key(int dialog, int context) {
        return (static_cast<qint64>(dialog) << 32) | static_cast<quint32>(context);
    }
    QHash<int, QString> dialogs_;
    QHash<qint64, QString> controls_;  // dialog 0: no dialog named
};

}  // namespace cps
