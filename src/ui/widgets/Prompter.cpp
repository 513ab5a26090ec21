#include "Prompter.h"

#include <QFileDialog>

QMessageBox::StandardButton Prompter::message(QWidget* parent, const QString& caption,
                                              const QString& text, Icon icon,
                                              QMessageBox::StandardButtons buttons) {
    QMessageBox::Icon i = QMessageBox::NoIcon;
    switch (icon) {
        case Icon::Information:
            i = QMessageBox::Information;
            break;
        case Icon::Exclamation:
            i = QMessageBox::Warning;
            break;
        case Icon::Stop:
            i = QMessageBox::Critical;
            break;
        case Icon::Question:
            i = QMessageBox::Question;
            break;
        case Icon::None:
            break;
    }
    QMessageBox box(i, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString Prompter::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), openFolder_, filter);
}

QString Prompter::saveFileName(QWidget* parent, const QString& proposed, const QString& filter) {
    QFileDialog dialog(parent, QString(), proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The suffix a bare name gets is the filter's own ("Data File (*.dat)" gives dat).
    const int star = filter.indexOf(QLatin1String("*."));
    QString suffix = QStringLiteral("dat");
    if (star >= 0) {
        int end = star + 2;
        while (end < filter.size() && filter[end].isLetterOrNumber()) ++end;
        if (end > star + 2) suffix = filter.mid(star + 2, end - star - 2);
    }
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

Prompter& Prompter::standard() {
    // Stateless, so sharing one is harmless.
    static Prompter plain;
    return plain;
}
