#pragma once

#include <QObject>
#include <QString>

#include "RadioImage.h"

// One document: one radio memory image, its title and the file it belongs to.
class CProgramDoc : public QObject {
    Q_OBJECT
  public:
    explicit CProgramDoc(QObject* parent = nullptr);

    // The factory image with the title and proposed name of a new document.
    void newImage(const QString& title, const QString& proposedPath);
    // Loads the data file; on failure nothing changes and error says why, in Chinese when
    // chinese is set.
    bool load(const QString& path, QString* error, bool chinese = false);
    bool save(const QString& path, QString* error);

    cps::RadioImage& image() { return image_; }
    const cps::RadioImage& image() const { return image_; }
    QString title() const { return title_; }
    QString pathName() const { return pathName_; }
    // True once the image was loaded from or saved to pathName(); a new document's path
    // name is only the name proposed for its first save.
    bool hasFile() const { return hasFile_; }

  private:
    cps::RadioImage image_;
    QString title_;
    QString pathName_;
    bool hasFile_ = false;
};
