// Helpers for tests that drive the real MainWindow offscreen.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// What the user saw in one modal box.
struct ShownBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString className;      // QMessageBox, or the dialog's class (CutDialog, ...)
    QString seen;           // what DialogCatcher::onShown returned while it was up
    QString advice;         // a message box's informative text
};

// Watches for modal boxes and dialogs while a test runs, records them and
// dismisses them, so a handler that shows a box never blocks the test.
// Message boxes are closed with OK, other dialogs accepted or rejected.
class DialogCatcher : public QObject
{
    Q_OBJECT
public:
    explicit DialogCatcher(QObject *parent = nullptr);

    QList<ShownBox> boxes() const { return m_boxes; }
    ShownBox last() const { return m_boxes.isEmpty() ? ShownBox() : m_boxes.last(); }
    int count() const { return m_boxes.size(); }
    void clear() { m_boxes.clear(); }
    // Dialogs that are not message boxes are accepted, but for this many
    // next ones, which are rejected.
    int dialogsToReject = 0;
    // Message boxes with a Cancel button are cancelled, this many next ones.
    int boxesToCancel = 0;
    // No more polling: a test that needs the thread to have no event
    // source of its own stops it (boxes then stay up).
    void stopPolling() { m_timer.stop(); }
    // File dialogs choose these files in turn (the box's text records the
    // dialog's filters); with none left a file dialog is cancelled.
    QStringList filesToChoose;
    // Asked while each box is up, before it is dismissed: the window's state
    // when the user saw the box (kept in ShownBox::seen).
    std::function<QString()> onShown;

private:
    void poll();

    QTimer m_timer;
    QList<ShownBox> m_boxes;
};

// Short description of the captured boxes, for failure messages.
QString describe(const QList<ShownBox> &boxes);
