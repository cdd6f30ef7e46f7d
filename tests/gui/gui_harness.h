// Helpers for tests that drive the real MainWindow offscreen.
#pragma once

#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

// What the user saw in one modal box.
struct ShownBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString className;      // QMessageBox, or the dialog's class (CutDialog, ...)
};

// Watches for modal boxes and dialogs while a test runs, records them and
// dismisses them, so a handler that shows a box never blocks the test.
// Message boxes are closed with OK; other dialogs are accepted or rejected
// as the test asked.
class DialogCatcher : public QObject
{
    Q_OBJECT
public:
    explicit DialogCatcher(QObject *parent = nullptr);

    QList<ShownBox> boxes() const { return m_boxes; }
    ShownBox last() const { return m_boxes.isEmpty() ? ShownBox() : m_boxes.last(); }
    int count() const { return m_boxes.size(); }
    void clear() { m_boxes.clear(); }
    // Answer for dialogs that are not message boxes (true = accept).
    void setDialogAnswer(bool accept) { m_acceptDialogs = accept; }
    // Wait until at least n boxes were seen (processing events meanwhile).
    bool waitForCount(int n, int timeoutMs = 15000);

private:
    void poll();

    QTimer m_timer;
    QList<ShownBox> m_boxes;
    bool m_acceptDialogs = true;
};

// Keeps QSettings away from the user's real configuration for the whole
// test program.
class TestSettingsLocation
{
public:
    TestSettingsLocation();
    QString path() const { return m_dir.path(); }
private:
    QTemporaryDir m_dir;
};

// Short description of the captured boxes, for failure messages.
QString describe(const QList<ShownBox> &boxes);
