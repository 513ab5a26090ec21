#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>

#include "RadioImage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace cps {
class FieldBinder;
}

// Dialog 133: the radio's optional features and its password. The main window keeps one for
// its whole life; every opening reloads from the image of the document active then and
// stores into it on OK.
class COptionalFeaturesDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 133;
    // The image to edit at an opening; null when no document is open.
    using ImageSource = std::function<cps::RadioImage*()>;

    COptionalFeaturesDlg(ImageSource image, bool chinese, QWidget* parent = nullptr);
    ~COptionalFeaturesDlg() override;

    // Loads the fields and runs modally; Rejected without opening when there is no image.
    int exec() override;

    // The control of a field, by its key.
    QComboBox* list(const char* key) const;
    QLineEdit* passwordEdit() const { return password_; }
    QCheckBox* keypadLock() const { return keypadLock_; }
    QCheckBox* repeaterInvert() const { return repeaterInvert_; }
    // The part below the visible window: MSK Type and the two check boxes.
    QWidget* hiddenPart() const { return hidden_; }

  public slots:
    void accept() override;

  private:
    void bindAll(cps::RadioImage& image);

    ImageSource image_;
    bool chinese_;
    QHash<QString, QComboBox*> lists_;
    QLineEdit* password_ = nullptr;
    QCheckBox* keypadLock_ = nullptr;
    QCheckBox* repeaterInvert_ = nullptr;
    QWidget* hidden_ = nullptr;
    std::unique_ptr<cps::FieldBinder> binder_;
};
