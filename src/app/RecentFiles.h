#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "UserStore.h"

class CommandRegistry;
class QMimeData;

// File > the last data files opened or saved, newest first, kept in the per-user store;
// and the folder the file dialogs start in.
class RecentFiles {
  public:
    // store: the per-user store; commands: whose RecentFile items show the list.
    RecentFiles(std::function<cps::UserStore()> store, CommandRegistry& commands);

    QStringList files() const;
    // The file item i shows, empty when it shows none.
    QString path(int i) const;
    // The folder the file dialogs start in: the one last used for a data file.
    QString dataFolder() const;
    // A file opened or saved goes first; one that failed to open leaves the list.
    void remember(const QString& path);
    void forget(const QString& path);

    // The one data file a drag carries, or nothing.
    static QString droppedDataFile(const QMimeData* mime);

  private:
    void store(const QStringList& files, cps::UserStore& store);
    void show();

    std::function<cps::UserStore()> store_;
    CommandRegistry& commands_;
};
