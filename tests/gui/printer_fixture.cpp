#include "printer_fixture.h"

#include "mainwindow.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

GuiTest::GuiTest()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    PrinterWindow::usb();
}

void clickBox(QAbstractButton *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

emu::UsbFace &PrinterWindow::usb()
{
    static emu::UsbFace face;
    return face;
}

PrinterWindow::PrinterWindow(TestMedium medium, const QString &model)
    : m_medium(medium)
{
    static int nextUsbPort = 2;
    m_model.setIdentity("VID:E51D", model, QStringLiteral("MFG:Label;CMD:TSPL,ZPL;MDL:%1;CLS:PRINTER;").arg(model),
                        "PID:0618", "V1.0");
    if (medium == TestMedium::Tcp) {
        m_net = std::make_unique<emu::NetPrinter>(&m_model);
        if (!m_net->start({.tcpPort = 0}))
            qFatal("emulated printer did not start: %s", qPrintable(m_net->errorString()));
    } else {
        m_usbPort = nextUsbPort++;
        m_usbId = usb().addPrinter(&m_model, {.product = model, .port = m_usbPort});
        if (m_usbId < 0)
            qFatal("emulated USB printer could not be plugged in");
    }
    ret_mode = MediumUsb;
    m_window = new MainWindow;
    // Emulated printers restart after a firmware only when a test says so.
    m_window->setRestartWait(0);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window))
        qFatal("window not exposed");
    m_catcher = new DialogCatcher(m_window);
}

PrinterWindow::~PrinterWindow()
{
    delete m_window;
    if (m_usbId >= 0)
        usb().unplug(m_usbId);
    if (m_net)
        m_net->stop();
}

void PrinterWindow::destroyWindow()
{
    delete m_window;
    m_window = nullptr;
    m_catcher = nullptr;
}

QWidget *PrinterWindow::findWidget(const char *name) const
{
    QWidget *w = m_window->findChild<QWidget *>(QLatin1String(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

bool PrinterWindow::open()
{
    if (m_medium == TestMedium::Tcp) {
        clickBox(widget<QCheckBox>("checkBox_WIFI"));
        widget<QLineEdit>("lineEdit_ConnectAddr")->setText(QStringLiteral("127.0.0.1"));
        widget<QLineEdit>("lineEdit_ConnectTCPPort")->setText(QString::number(m_net->tcpPort()));
    } else {
        clickBox(widget<QCheckBox>("checkBox_NET"));
        clickBox(widget<QCheckBox>("checkBox_USB"));
    }
    click("pushButton_getList");
    // Several USB printers may be plugged in: pick ours by its port.
    auto *list = widget<QComboBox>("comboBox_ScanResult");
    const QString key = QStringLiteral("{USB%1}").arg(m_usbPort, 3, 10, QLatin1Char('0'));
    if (m_medium == TestMedium::Usb)
        list->setCurrentIndex(list->findText(key, Qt::MatchContains));
    if (list->currentIndex() < 0)
        return false;
    m_catcher->clear();
    click("pushButton_open");
    const bool ok = m_catcher->count() == 1 && m_catcher->last().text == QStringLiteral("连接成功！");
    m_catcher->clear();
    m_model.clearLog();
    return ok;
}

QStringList PrinterWindow::frames() const
{
    QStringList result;
    for (const emu::LoggedFrame &f : m_model.frames())
        result << hex(f.bytes);
    return result;
}
