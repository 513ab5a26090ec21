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
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString Prompter::saveFileName(QWidget* parent, const QString& proposed, const QString& filter) {
    QFileDialog dialog(parent, QString(), proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

Prompter& Prompter::standard() {
    // Stateless, so sharing one is harmless.
    static Prompter plain;
    return plain;
}
