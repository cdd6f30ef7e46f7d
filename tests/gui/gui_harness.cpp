#include "gui_harness.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QStandardPaths>

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
        ShownBox box;
        box.title = dialog->windowTitle();
        box.className = QString::fromLatin1(dialog->metaObject()->className());
        if (auto *mb = qobject_cast<QMessageBox *>(dialog)) {
            box.text = mb->text();
            box.icon = mb->icon();
            m_boxes.append(box);
            QTimer::singleShot(0, mb, [mb] { mb->done(QMessageBox::Ok); });
        } else {
            m_boxes.append(box);
            const bool accept = m_acceptDialogs;
            QTimer::singleShot(0, dialog, [dialog, accept] {
                if (accept)
                    dialog->accept();
                else
                    dialog->reject();
            });
        }
    }
}

bool DialogCatcher::waitForCount(int n, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (m_boxes.size() < n && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return m_boxes.size() >= n;
}

TestSettingsLocation::TestSettingsLocation()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

QString describe(const QList<ShownBox> &boxes)
{
    QStringList parts;
    for (const ShownBox &b : boxes)
        parts << QStringLiteral("[%1 | %2]").arg(b.title, b.text);
    return parts.join(QLatin1Char(' '));
}
