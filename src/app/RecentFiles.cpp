#include "RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>

#include "CommandRegistry.h"

namespace {
QString recentKey(int i) { return QStringLiteral("Recent File List/File%1").arg(i + 1); }
const QString kDataFolder = QStringLiteral("Settings/DataFolder");
}  // namespace

RecentFiles::RecentFiles(std::function<cps::UserStore()> store, CommandRegistry& commands)
    : store_(std::move(store)), commands_(commands) {
    show();
}

QString RecentFiles::path(int i) const {
    // The file the item shows, even when another instance changed the list since.
    const QAction* a = commands_.action(cmd::RecentFile1 + i);
    return a ? a->property("path").toString() : QString();
}

QStringList RecentFiles::files() const {
    const cps::UserStore store = store_();
    QStringList files;
    for (int i = 0; i < cmd::kRecentFiles; ++i) {
        const QString f = store.text(recentKey(i));
        if (!f.isEmpty()) files << f;
    }
    return files;
}

QString RecentFiles::dataFolder() const {
    const QString folder = store_().text(kDataFolder);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    // Never the current folder, which may be the program's own.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void RecentFiles::store(const QStringList& files, cps::UserStore& store) {
    for (int i = 0; i < cmd::kRecentFiles; ++i) store.setText(recentKey(i), files.value(i));
}

void RecentFiles::remember(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    cps::UserStore store = store_();
    this->store(list, store);
    store.setText(kDataFolder, QFileInfo(absolute).absolutePath());
    store.sync();
    show();
}

void RecentFiles::forget(const QString& path) {
    QStringList list = files();
    if (list.removeAll(QFileInfo(path).absoluteFilePath()) == 0) return;
    cps::UserStore store = store_();
    this->store(list, store);
    store.sync();
    show();
}

void RecentFiles::show() {
    const QStringList list = files();
    for (int i = 0; i < cmd::kRecentFiles; ++i) {
        QAction* a = commands_.action(cmd::RecentFile1 + i);
        if (!a) continue;
        const QString f = list.value(i);
        a->setVisible(!f.isEmpty());
        a->setProperty("path", f);
        // An ampersand in a folder name is not a mnemonic.
        QString shown = QDir::toNativeSeparators(f);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    }
    // The separator after the list, before Exit.
    if (QAction* s = commands_.separatorBefore(cmd::Exit)) s->setVisible(!list.isEmpty());
}

QString RecentFiles::droppedDataFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) ? path : QString();
}
