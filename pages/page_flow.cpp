// The shared handler flow (see page_flow.h), the refusals a page shows
// before it sends anything, the report of sets after which the printer
// must be restarted, and the pause between instructions that the printer
// needs to apply a setting.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/conversions.h"
#include "protocol/instructions.h"
#include "protocol/result.h"
#include "query/printer_io.h"
#include "transport/event_wait.h"
#include "transport/net_transport.h"
#include "ui/shared_state.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QDeadlineTimer>
#include <QRegularExpression>

int mediumFailure(int medium)
{
    if (medium == MediumUsb)
        return Result::UsbOpenFailed;
    if (medium == MediumNet)
        return Result::NetworkFailed;
    if (medium == MediumBle)
        return Result::BluetoothFailed;
    if (medium == MediumSerial)
        return Result::SerialFailed;
    return Result::NoTransport;
}

QString fieldNameOf(const QString &label)
{
    static const QRegularExpression edges(QStringLiteral("^[\\s:\\x{FF1A}]+|[\\s:\\x{FF1A}]+$"));
    return QString(label).remove(edges);
}

bool MainWindow::deviceOpen() const
{
    return !ui->pushButton_open->isEnabled();
}

void MainWindow::beginExchange()
{
    if (ret_mode == MediumNet)
        DeviceIoContrl_Net::connectSocket();
}

void MainWindow::endExchange()
{
    if (ret_mode == MediumNet)
        DeviceIoContrl_Net::disconnectSocket();
}

std::optional<int> MainWindow::runOnPrinter(const PageFlow &flow, const std::function<int()> &exchange)
{
    using Lock = PageFlow::Lock;
    if (flow.lock == Lock::BeforeCheck)
        controlAllWidgets(false);
    if (!deviceOpen()) {
        if (flow.criticalWhenClosed)
            showBox(QMessageBox::Critical, tr("设置工具"), tr("设备未打开!"));
        else
            showBox(QMessageBox::Information, tr("设置工具"), tr("请先打开设备"));
        if (flow.lock == Lock::BeforeCheck)
            controlAllWidgets(true);
        return std::nullopt;
    }
    if (flow.proceed && !flow.proceed()) {
        if (flow.lock == Lock::BeforeCheck)
            controlAllWidgets(true);
        return std::nullopt;
    }
    if (flow.lock == Lock::AfterCheck)
        controlAllWidgets(false);
    if (flow.bracketSocket)
        beginExchange();
    if (flow.lock == Lock::AfterConnect)
        controlAllWidgets(false);
    const int result = exchange();
    if (flow.bracketSocket)
        endExchange();
    if (flow.lock != Lock::None)
        controlAllWidgets(true);
    return result;
}

bool MainWindow::readPage(const PageFlow &flow, QWidget *setButton, const std::function<int()> &init)
{
    const std::optional<int> result = runOnPrinter(flow, init);
    if (!result)
        return false;
    if (flow.enableSetAlways)
        setButton->setEnabled(true);
    if (Ret_Handler(*result) != 0)
        return false;
    if (!flow.noSetOver || !flow.noSetOver->isChecked())
        setButton->setEnabled(true);
    return true;
}

std::optional<int> MainWindow::setPage(const PageFlow &flow, const std::function<int()> &send)
{
    const std::optional<int> result = runOnPrinter(flow, send);
    if (result)
        Ret_Handler(*result);
    return result;
}

bool MainWindow::fieldFits(const QString &fieldName, quint8 code, const QString &text)
{
    // A page's integer fields all carry one rule per code.
    for (const settings::Setting &s : settings::catalogue()) {
        if (s.code == code)
            return settingFits(fieldName, s, text);
    }
    return true;
}

bool MainWindow::textFits(const QString &fieldName, const QByteArray &utf8, int othersBytes)
{
    const int limit = proto::kMaxTextBytes - othersBytes;
    if (utf8.size() <= limit)
        return true;
    showBox(QMessageBox::Information, tr("设置工具"),
            tr("%1过长，最多%2字节（UTF-8），请重新输入").arg(fieldName).arg(limit));
    return false;
}

bool MainWindow::addressFits(const QString &fieldName, const QString &text)
{
    if (proto::dottedQuadFits(text))
        return true;
    showBox(QMessageBox::Information, tr("设置工具"), tr("%1每段的取值范围为0 ~ 255，请重新输入").arg(fieldName));
    return false;
}

bool MainWindow::settingFits(const QString &fieldName, const char *key, const QString &text)
{
    return settingFits(fieldName, *settings::find(QString::fromLatin1(key)), text);
}

bool MainWindow::settingFits(const QString &fieldName, const settings::Setting &setting, const QString &text)
{
    // The field's rule is the settings catalogue's (the command line takes
    // the same). A number field is read as a whole number: wide, so that a
    // number beyond 32 bits (which the builder would send as 0) is refused
    // too, and as the builder does otherwise (an empty field is 0).
    QString judged = text.trimmed();
    if (setting.kind == settings::Kind::Number || setting.kind == settings::Kind::Decimal) {
        bool isNumber = false;
        const qint64 wide = judged.toLongLong(&isNumber, 10);
        judged = QString::number(isNumber ? wide : proto::parseInteger(text));
    }
    const settings::Refusal refusal = settings::refusal(setting, judged, openModel());
    if (refusal.ok())
        return true;
    // The page's fields hold whole numbers: the bounds toward zero.
    if (refusal.reason == settings::Refusal::Reason::Range)
        showBox(QMessageBox::Information, tr("设置工具"),
                tr("%1的取值范围为%2 ~ %3，请重新输入").arg(fieldName).arg(qint64(refusal.min)).arg(qint64(refusal.max)));
    else
        showBox(QMessageBox::Information, tr("设置工具"), tr("%1每段的取值范围为0 ~ 255，请重新输入").arg(fieldName));
    return false;
}

QByteArray MainWindow::keptText(const char *key, const QLineEdit *field) const
{
    return m_kept.text(QString::fromLatin1(key), field->text());
}

int MainWindow::keptChoice(const char *key, const QComboBox *combo) const
{
    return m_kept.choice(QString::fromLatin1(key), combo->currentIndex());
}

void MainWindow::forgetPrinterValues()
{
    // What was read from one printer must never be written into another,
    // nor decide what the next one is sent (the Wi-Fi snapshot lets a set
    // or a provisioning hand-off skip what the printer already has).
    m_serialNumber.reset();
    m_wifiSnapshot = {};
    m_kept.clear();
}

bool MainWindow::reportRestartNeeded(int result)
{
    if (result != 0) {
        Ret_Handler(result);
        return false;
    }
    showBox(QMessageBox::Information, tr("设置工具"), tr("处理成功，请重启打印机"));
    return true;
}

void MainWindow::pause(int ms)
{
    // Sleeps in the event loop instead of blocking it, so the window keeps
    // painting; user input waits until the pause is over.
    events::runUntil(QDeadlineTimer(ms, Qt::PreciseTimer));
}
