#include "CProgramDoc.h"

#include <QFileInfo>

#include "DataFile.h"

bool CProgramDoc::State::operator==(const State& other) const {
    if (image != other.image || !(table.bands() == other.table.bands())) return false;
    for (int r = 1; r < cps::ChannelTable::kRows; ++r)
        for (int c = 1; c < cps::ChannelTable::kCols; ++c)
            if (table.text(r, c) != other.table.text(r, c)) return false;
    return true;
}

CProgramDoc::CProgramDoc(QObject* parent) : QObject(parent) {}

void CProgramDoc::startNew(const QString& title, const QString& proposedPath) {
    image_ = cps::RadioImage::factory();
    title_ = title;
    pathName_ = proposedPath;
    hasFile_ = false;
    resetHistory();
}

bool CProgramDoc::load(const QString& path, QString* error, bool chinese) {
    cps::RadioImage loaded;
    if (!cps::loadDataFile(path, loaded, error, chinese)) return false;
    image_ = loaded;
    pathName_ = path;
    hasFile_ = true;
    title_ = QFileInfo(path).fileName();
    resetHistory();
    return true;
}

bool CProgramDoc::save(const QString& path, QString* error) {
    if (!cps::saveDataFile(path, image_, error)) return false;
    pathName_ = path;
    hasFile_ = true;
    title_ = QFileInfo(path).fileName();
    markClean();
    return true;
}

QString CProgramDoc::displayName() const {
    if (hasFile_) return QFileInfo(pathName_).fileName();
    QString name = QFileInfo(pathName_).fileName();
    if (name.isEmpty()) name = QStringLiteral("Channel");
    if (!name.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)) name += QStringLiteral(".dat");
    return name;
}

void CProgramDoc::attachGrid(std::function<cps::ChannelTable()> read,
                             std::function<void(const cps::ChannelTable&)> restore) {
    readGrid_ = std::move(read);
    restoreGrid_ = std::move(restore);
    known_ = capture();
}

CProgramDoc::State CProgramDoc::capture() const {
    return State{image_, readGrid_ ? readGrid_() : cps::ChannelTable()};
}

void CProgramDoc::apply(const State& state) {
    image_ = state.image;
    if (restoreGrid_) restoreGrid_(state.table);
    known_ = state;
}

void CProgramDoc::notify(bool wasModified) {
    emit historyChanged();
    if (wasModified != isModified()) emit modifiedChanged(isModified());
}

void CProgramDoc::resetHistory() {
    const bool was = isModified();
    known_ = capture();
    steps_.clear();
    index_ = 0;
    cleanIndex_ = 0;
    notify(was);
}

bool CProgramDoc::recordChange(const QString& name) {
    State now = capture();
    if (now == known_) return false;
    const bool was = isModified();
    steps_.erase(steps_.begin() + index_, steps_.end());
    // The saved state was among the steps just dropped: no undo leads back to it.
    if (cleanIndex_ > index_) cleanIndex_ = -1;
    steps_.push_back(Step{name, known_, now});
    ++index_;
    if (static_cast<int>(steps_.size()) > kMaxSteps) {
        steps_.erase(steps_.begin());
        --index_;
        cleanIndex_ = cleanIndex_ > 0 ? cleanIndex_ - 1 : -1;
    }
    known_ = std::move(now);
    notify(was);
    return true;
}

void CProgramDoc::absorbChange() {
    known_ = capture();
    if (index_ > 0) steps_[index_ - 1].after = known_;
    if (canRedo()) steps_[index_].before = known_;
}

void CProgramDoc::markClean() {
    const bool was = isModified();
    absorbChange();
    cleanIndex_ = index_;
    notify(was);
}

void CProgramDoc::undo() {
    if (!canUndo()) return;
    const bool was = isModified();
    --index_;
    apply(steps_[index_].before);
    notify(was);
}

void CProgramDoc::redo() {
    if (!canRedo()) return;
    const bool was = isModified();
    apply(steps_[index_].after);
    ++index_;
    notify(was);
}

void CProgramDoc::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    emit busyChanged(busy);
    emit historyChanged();
}
