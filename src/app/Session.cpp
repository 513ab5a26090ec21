#include "Session.h"

Session::Session(int sqlWriting, QObject* parent) : QObject(parent), sqlWriting_(sqlWriting) {}

void Session::setImageFromNew(bool fromNew) {
    if (fromNew == imageFromNew_) return;
    imageFromNew_ = fromNew;
    emit imageFromNewChanged(fromNew);
}

void Session::unlockService() {
    if (serviceUnlocked_) return;
    serviceUnlocked_ = true;
    emit serviceUnlockedChanged(true);
}

void Session::setSqlWriting(int allowed) {
    if (allowed == sqlWriting_) return;
    sqlWriting_ = allowed;
    emit sqlWritingChanged(allowed);
}

void Session::setPortName(const QString& name) {
    if (name == portName_) return;
    portName_ = name;
    emit portNameChanged(name);
}

void Session::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    emit busyChanged(busy);
}
