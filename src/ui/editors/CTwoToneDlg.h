#pragma once

#include <QDialog>
#include <QWidget>
#include <vector>

#include "RadioImage.h"

class QTabWidget;

namespace cps {

class CTwoToneDecodePage;
class CTwoToneEncodePage;

// Dialog 157: the eight decode entries behind the tabs "2-Tone1" to "2-Tone8".
class CTwoToneDecodeSheet : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 157;
    CTwoToneDecodeSheet(RadioImage& image, bool chinese, QWidget* parent);

    QTabWidget* tabs() const { return tabs_; }
    CTwoToneDecodePage* page(int entry) const { return pages_[static_cast<size_t>(entry - 1)]; }
    // The dialog closes: the page on show stores.
    void closePages();

  private:
    void onTabChanged(int index);
    QTabWidget* tabs_;
    std::vector<CTwoToneDecodePage*> pages_;
};

// Dialog 155: 2-Tone. No OK or Cancel: each page stores when it is hidden, and closing the
// dialog hides them all. The pages are made anew at each run, so every run starts on the
// Encode page and decode entry 1.
class CTwoToneDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 155;
    CTwoToneDlg(RadioImage& image, bool chinese, QWidget* parent = nullptr);
    ~CTwoToneDlg() override;

    RadioImage& image() const { return image_; }
    QTabWidget* tabs() const { return tabs_; }
    CTwoToneEncodePage* encodePage() const { return encode_; }
    CTwoToneDecodeSheet* decodeSheet() const { return decode_; }

    // Makes the pages and runs the dialog modally.
    int exec() override;
    // Every way out (title-bar close, Escape outside the pages) ends here.
    void done(int result) override;

  private:
    void buildPages();
    void closePages();
    void onTabChanged(int index);

    RadioImage& image_;
    bool chinese_;
    QTabWidget* tabs_;
    CTwoToneEncodePage* encode_ = nullptr;
    CTwoToneDecodeSheet* decode_ = nullptr;
};

}  // namespace cps
