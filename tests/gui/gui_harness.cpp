#include "gui_harness.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>

DialogCatcher::DialogCatcher(QObject *parent)
    : QObject(parent)
{
    // The timer also fires inside the nested event loop of QDialog::exec().
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &DialogCatcher::poll);
    m_timer.start();
}

void DialogCatcher::poll()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *w : widgets) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog || !dialog->isVisible() || dialog->property("lpsCaught").toBool())
            continue;
        dialog->setProperty("lpsCaught", true);
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            m_boxes.append({files->windowTitle(), files->nameFilters().join(QLatin1String(";;")),
                            QMessageBox::NoIcon, QStringLiteral("QFileDialog"), onShown ? onShown() : QString()});
            const QString file = filesToChoose.isEmpty() ? QString() : filesToChoose.takeFirst();
            QTimer::singleShot(0, files, [files, file] {
                if (file.isEmpty()) {
                    files->reject();
                } else {
                    // Typed into the name field, as the user would: the
                    // dialog's own directory listing may not have loaded yet.
                    files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
                    static_cast<QDialog *>(files)->accept();
                }
            });
            continue;
        }
        auto *mb = qobject_cast<QMessageBox *>(dialog);
        m_boxes.append({dialog->windowTitle(), mb ? mb->text() : QString(), mb ? mb->icon() : QMessageBox::NoIcon,
                        QString::fromLatin1(dialog->metaObject()->className()), onShown ? onShown() : QString(),
                        mb ? mb->informativeText() : QString()});
        const bool accept = mb || dialogsToReject <= 0;
        dialogsToReject -= accept ? 0 : 1;
        const bool cancel = mb && boxesToCancel > 0 && mb->button(QMessageBox::Cancel);
        boxesToCancel -= cancel ? 1 : 0;
        QTimer::singleShot(0, dialog, [dialog, mb, accept, cancel] {
            mb ? mb->done(cancel ? QMessageBox::Cancel : QMessageBox::Ok) : accept ? dialog->accept() : dialog->reject();
        });
    }
}

QString describe(const QList<ShownBox> &boxes)
{
    QStringList parts;
    for (const ShownBox &b : boxes)
        parts << QStringLiteral("[%1 | %2]").arg(b.title, b.text);
    return parts.join(QLatin1Char(' '));
}
