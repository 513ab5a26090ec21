#include "CProgramDoc.h"

#include <QFileInfo>

#include "DataFile.h"

CProgramDoc::CProgramDoc(QObject* parent) : QObject(parent) {}

void CProgramDoc::newImage(const QString& title, const QString& proposedPath) {
    image_ = cps::RadioImage::factory();
    title_ = title;
    pathName_ = proposedPath;
    hasFile_ = false;
}

bool CProgramDoc::load(const QString& path, QString* error, bool chinese) {
    cps::RadioImage loaded;
    if (!cps::loadDataFile(path, loaded, error, chinese)) return false;
    image_ = loaded;
    pathName_ = path;
    hasFile_ = true;
    title_ = QFileInfo(path).fileName();
    return true;
}

bool CProgramDoc::save(const QString& path, QString* error) {
    if (!cps::saveDataFile(path, image_, error)) return false;
    pathName_ = path;
    hasFile_ = true;
    title_ = QFileInfo(path).fileName();
    return true;
}
