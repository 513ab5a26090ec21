#pragma once

#include <QDialog>

class QLabel;

namespace cps {
class ProfileStore;
}

// The About box (dialog 100): title, version, copyright and owner lines from the
// language section of the settings.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 100;

    CAboutDlg(const cps::ProfileStore& settings, const QString& languageSection, bool chinese,
              const QString& programDir, QWidget* parent = nullptr);

    QLabel* line(int id) const;  // 1098 version, 1099 copyright, 1100 owner
    QLabel* icon() const { return icon_; }
    bool iconFromFile() const { return iconFromFile_; }

  private:
    QLabel* icon_;
    QLabel* version_;
    QLabel* copyright_;
    QLabel* owner_;
    bool iconFromFile_ = false;
};
