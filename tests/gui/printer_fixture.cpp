#include "printer_fixture.h"

#include "mainwindow.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
int g_nextUsbPort = 2;
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
    m_model.setIdentity(QStringLiteral("VID:E51D"), model,
                        QStringLiteral("MFG:Label;CMD:TSPL,ZPL;MDL:%1;CLS:PRINTER;").arg(model),
                        QStringLiteral("PID:0618"), QStringLiteral("V1.0"));
    if (medium == TestMedium::Tcp) {
        m_net = std::make_unique<emu::NetPrinter>(&m_model);
        emu::NetPrinter::Config config;
        config.tcpPort = 0;
        if (!m_net->start(config))
            qFatal("emulated printer did not start: %s", qPrintable(m_net->errorString()));
    } else {
        emu::UsbPrinterConfig config;
        config.product = model;
        config.port = g_nextUsbPort++;
        m_usbPort = config.port;
        m_usbId = usb().addPrinter(&m_model, config);
        if (m_usbId < 0)
            qFatal("emulated USB printer could not be plugged in");
    }
    ret_mode = MediumUsb;
    m_window = new MainWindow;
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

QWidget *PrinterWindow::findWidget(const char *name) const
{
    QWidget *w = m_window->findChild<QWidget *>(QLatin1String(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

void PrinterWindow::click(const char *name)
{
    auto *button = widget<QAbstractButton>(name);
    if (!button)
        qFatal("%s is not a button", name);
    // A plain click() runs the handler to its end, nested dialogs included
    // (the catcher answers them from inside their event loops).
    button->click();
}

void PrinterWindow::setText(const char *name, const QString &text)
{
    auto *edit = widget<QLineEdit>(name);
    edit->setText(text);
}

bool PrinterWindow::open()
{
    if (m_medium == TestMedium::Tcp) {
        clickBox(widget<QCheckBox>("checkBox_WIFI"));
        setText("lineEdit_ConnectAddr", QStringLiteral("127.0.0.1"));
        setText("lineEdit_ConnectTCPPort", QString::number(m_net->tcpPort()));
    } else {
        clickBox(widget<QCheckBox>("checkBox_NET"));
        clickBox(widget<QCheckBox>("checkBox_USB"));
    }
    click("pushButton_getList");
    auto *list = widget<QComboBox>("comboBox_ScanResult");
    if (list->count() == 0)
        return false;
    // Several USB printers may be plugged in: pick ours by its port.
    if (m_medium == TestMedium::Usb) {
        const QString key = QStringLiteral("{USB%1}").arg(m_usbPort, 3, 10, QLatin1Char('0'));
        const int index = list->findText(key, Qt::MatchContains);
        if (index < 0)
            return false;
        list->setCurrentIndex(index);
    }
    m_catcher->clear();
    click("pushButton_open");
    const bool ok = m_catcher->count() == 1 && m_catcher->last().text == QStringLiteral("连接成功！");
    m_catcher->clear();
    m_model.clearLog();
    return ok;
}

QList<QByteArray> PrinterWindow::frames() const
{
    QList<QByteArray> result;
    for (const emu::LoggedFrame &f : m_model.frames())
        result << f.bytes;
    return result;
}

QStringList PrinterWindow::frameHex() const
{
    QStringList result;
    for (const QByteArray &f : frames())
        result << hex(f);
    return result;
}
