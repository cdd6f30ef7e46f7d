// Settings backup and restore on the maintenance tab. A backup reads every
// setting the printer's model has, through the same queries as the pages,
// and saves them in the command line's profile format. A restore reads the
// printer, shows the file's settings next to the printer's and sends only
// what the operator leaves ticked, then reads every row back.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "maintenance/settings_backup.h"
#include "protocol/frame.h"
#include "protocol/result.h"
#include "protocol/settings_profile.h"
#include "query/printer_io.h"
#include "query/settings_read.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>

namespace {

// Where each setting sits in the form: its label, the group that tells
// alike labels apart, and the combo whose items name its choices.
struct Place
{
    const char *key;
    const char *label;
    const char *group = nullptr;
    const char *combo = nullptr;
};

const Place kPlaces[] = {
    {"print.speed", "label_PrintSpeed"},
    {"print.density", "label_PrintDensty"},
    {"print.label_gap_mm", "label_LabelGap"},
    {"print.black_mark_gap_mm", "label_BlackLabelGap"},
    {"print.rotation", "label_PrintDirection", nullptr, "comboBox_PrintDirection"},
    {"print.mirror", "label_PrintMethod", nullptr, "comboBox_PrintMethod"},
    {"print.method", "label_41", nullptr, "comboBox_PrintMode"},
    {"print.auto_paper", "label_28", nullptr, "comboBox_AutoPaper"},
    {"print.paper_type", "label_PaperType", nullptr, "comboBox_PaperType"},
    {"print.code_page", "label_DefaultCodePage", nullptr, "comboBox_DefaultCodePage"},
    {"print.command_set", "label_37"},
    {"print.label_height_mm", "label_LabelHeight"},
    {"print.label_width_mm", "label_LabelWidth"},
    {"print.offset_mm", "label_PrintShift"},
    {"print.vertical_offset_mm", "label_VerticalShift"},
    {"print.language", "label_Language", nullptr, "comboBox"},
    {"distance.paper_exit_dots", "label_DistanceO2PH"},
    {"distance.seam_mm", "label_DistanceS2PH"},
    {"distance.black_mark_mm", "label_DistanceB2PH"},
    {"distance.tear_dots", "label_DistancePH2T"},
    {"serial.baud", "label_ComBaud", nullptr, "comboBox_ComBaud"},
    {"serial.parity", "label_ComParityBit", nullptr, "comboBox_ComParityBit"},
    {"serial.data_bits", "label_ComDataBit", nullptr, "comboBox_ComDataBit"},
    {"serial.stop_bits", "label_ComStopBit", nullptr, "comboBox_ComStopBit"},
    {"serial.serial_number", "label_ComSN"},
    {"stripper.paper_take_s", "label_PaperTime"},
    {"wifi.mode", "label_WifiMode", nullptr, "comboBox_WifiMode"},
    {"wifi.sta.ssid", "label_WStaName", "groupBox"},
    {"wifi.sta.password", "label_WStaPassword", "groupBox"},
    {"wifi.ap.ssid", "label_WApName", "groupBox_3"},
    {"wifi.ap.password", "label_WApPassword", "groupBox_3"},
    {"wifi.ap.ip", "label_WApIP", "groupBox_3"},
    {"wifi.tcp_port", "label_WApPort"},
    {"ip.mode", "label_WifiSetIPMode", "groupBox_16", "comboBox_WifiSetIPMode"},
    {"ip.address", "label_WifiSetIP", "groupBox_16"},
    {"ip.subnet_mask", "label_WifiSetSubnetMask", "groupBox_16"},
    {"ip.gateway", "label_WifiSetGateway", "groupBox_16"},
    {"ip.dns", "label_WifiSetDNS", "groupBox_16"},
    {"ethernet.mode", "label_NetportIPMode", nullptr, "comboBox_NetportIPMode"},
    {"ethernet.address", "label_NetportIP"},
    {"ethernet.subnet_mask", "label_NetportSubnetMask"},
    {"ethernet.gateway", "label_NetportGateway"},
    {"ethernet.tcp_port", "label_NetportTCPPort"},
    {"ethernet.udp_port", "label_NetportUDPPort"},
    {"bluetooth.spp_name", "label_SppName"},
    {"bluetooth.ble_name", "label_SppBLE"},
    {"bluetooth.pairing", "label_SppMode", nullptr, "comboBox_SppMode"},
    {"bluetooth.pin", "label_SppPin"},
};

const Place *placeOf(const QString &key)
{
    for (const Place &place : kPlaces) {
        if (key == QLatin1String(place.key))
            return &place;
    }
    return nullptr;
}

// The keys a backup holds: every setting of the model that can be set.
QStringList writableKeys(const settings::Model &model)
{
    QStringList keys;
    for (const settings::Setting *s : settings::settingsOf(QString(), model)) {
        if (s->writable())
            keys << s->key;
    }
    return keys;
}

} // namespace

QString MainWindow::settingPage(const QString &key) const
{
    const Place *place = placeOf(key);
    for (QWidget *w = place ? findChild<QWidget *>(QLatin1String(place->label)) : nullptr; w; w = w->parentWidget()) {
        if (const int page = ui->toolBox_PrinterSetting->indexOf(w); page >= 0)
            return ui->toolBox_PrinterSetting->itemText(page);
    }
    return key;
}

QString MainWindow::settingName(const QString &key) const
{
    const Place *place = placeOf(key);
    const auto *label = place ? findChild<QLabel *>(QLatin1String(place->label)) : nullptr;
    if (!label)
        return key;
    QStringList parts = {settingPage(key)};
    if (const auto *group = place->group ? findChild<QGroupBox *>(QLatin1String(place->group)) : nullptr)
        parts << group->title();
    parts << fieldNameOf(label->text());
    return parts.join(QStringLiteral(" › "));
}

QString MainWindow::settingValueText(const QString &key, const QString &value) const
{
    const settings::Setting *s = settings::find(key);
    if (!s)
        return value;
    // A password or PIN is never shown, only how long it is.
    if (s->secret)
        return tr("%1个字符").arg(value.toUcs4().size());
    const Place *place = placeOf(key);
    if (const auto *combo = place && place->combo ? findChild<QComboBox *>(QLatin1String(place->combo)) : nullptr) {
        const int index = s->kind == settings::Kind::Choice ? int(s->choices.indexOf(value)) : value.toInt();
        if (index >= 0 && index < combo->count())
            return combo->itemText(index);
    }
    return s->kind == settings::Kind::Decimal ? value + QStringLiteral(" mm") : value;
}

bool MainWindow::readSettings(const QStringList &keys, settings::Values &values, QString *failedPage)
{
    QProgressBar *bar = ui->progressBar_Update;
    const bool wasEnabled = bar->isEnabled();
    bar->setEnabled(true);
    bar->setValue(0);
    QMap<QString, int> failed;
    // The first page that fails ends the reads: the operator hears at once.
    ReadSettings(keys, openModel(), ret_mode, values, &failed, [bar](int done, int all, bool failing) {
        bar->setValue(done * 100 / std::max(1, all));
        return !failing;
    });
    bar->setEnabled(wasEnabled);
    // A value the tool does not know (a byte beyond a page's list) is as
    // unread as one that never came: a backup holds what can be set again.
    if (!failed.isEmpty()) {
        *failedPage = settingPage(failed.firstKey());
        return false;
    }
    for (const QString &key : keys) {
        if (!values.contains(key)) {
            *failedPage = settingPage(key);
            return false;
        }
    }
    return true;
}

QByteArray MainWindow::backupProfile(bool secrets, QString *error, settings::Values *read)
{
    unsigned char buf[proto::kResultBufferSize];
    const int identified = GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode);
    const std::optional<proto::DeviceIdentity> identity =
        identified == Result::Ok ? proto::splitDeviceIdentity(buf) : std::nullopt;
    settings::Values values;
    QString page;
    if (!identity || !readSettings(writableKeys(openModel()), values, &page)) {
        *error = tr("无法读取%1").arg(identity ? page : ui->groupBox_2->title());
        return {};
    }
    profile::Profile saved{identity->model(), mmToDot, {}};
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (profile::selected(*settings::find(it.key()), {.secrets = secrets, .identity = true}))
            saved.values.insert(it.key(), it.value());
    }
    if (read)
        *read = saved.values;
    return profile::toJson(saved);
}

void MainWindow::on_pushButton_BackupSettings_clicked()
{
    QString path;
    bool secrets = false;
    // The file first, with the choice of passwords in the same step.
    const auto chooseFile = [&] {
        QFileDialog dialog(this, tr("备份设置…"), QString(), QStringLiteral("JSON (*.json)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("json"));
        // The tool never replaces a file: it asks for another name below.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto *includeSecrets = new QCheckBox(tr("包含密码"), &dialog);
        includeSecrets->setObjectName(QStringLiteral("checkBox_IncludePasswords"));
        if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
            grid->addWidget(includeSecrets, grid->rowCount(), 0, 1, -1);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        path = dialog.selectedFiles().constFirst();
        secrets = includeSecrets->isChecked();
        if (QFileInfo::exists(path)) {
            showBox(QMessageBox::Information, tr("设置工具"), tr("%1已存在，请选择新的文件名").arg(path));
            return false;
        }
        return true;
    };
    QString error;
    QByteArray json;
    if (!runOnPrinter({.lock = PageFlow::Lock::AfterCheck, .proceed = chooseFile}, [&] {
            json = backupProfile(secrets, &error);
            return int(Result::Ok);
        }))
        return;
    // Nothing is written unless every page was read: never a partial backup.
    if (json.isEmpty()) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("备份失败：%1").arg(error));
        return;
    }
    const backup::Written written = backup::writeNewFile(path, json, secrets);
    if (!written.ok()) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("备份失败：%1").arg(written.path + QStringLiteral(": ") + written.error));
        return;
    }
    Ret_Handler(Result::Ok);
}

void MainWindow::on_pushButton_RestoreSettings_clicked()
{
    if (!deviceOpen()) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("请先打开设备"));
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, tr("恢复设置…"), QString(),
                                                      QStringLiteral("JSON (*.json);;All Files (*)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    const profile::Loaded loaded = file.open(QIODevice::ReadOnly)
        ? profile::fromJson(file.readAll(), QFileInfo(path).fileName())
        : profile::Loaded{{}, path + QStringLiteral(": ") + file.errorString()};
    if (!loaded.ok()) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("恢复失败：%1").arg(loaded.error));
        return;
    }
    restoreFrom(loaded.profile.values, path);
}

void MainWindow::restoreFrom(const settings::Values &file, const QString &fileName)
{
    qDebug() << "restore from" << fileName << file.size() << "settings";
    // The printer's side of every row, and its serial number to tell its
    // own backup from another printer's.
    QStringList keys = {QStringLiteral("serial.serial_number")};
    for (auto it = file.cbegin(); it != file.cend(); ++it) {
        if (settings::appliesTo(*settings::find(it.key()), openModel()))
            keys << it.key();
    }
    settings::Values printer;
    QString page;
    bool read = false;
    runOnPrinter({.lock = PageFlow::Lock::AfterCheck}, [&] {
        read = readSettings(keys, printer, &page);
        return int(Result::Ok);
    });
    if (!read) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("恢复失败：%1").arg(tr("无法读取%1").arg(page)));
        return;
    }
    const restore::Comparison comparison = restore::compare(printer, file, openModel());
    const std::unique_ptr<RestoreSettingsDialog> dialog = restoreDialog(
        comparison, {file.value(QStringLiteral("serial.serial_number")), printer.value(QStringLiteral("serial.serial_number"))});
    connect(dialog.get(), &RestoreSettingsDialog::applyClicked, this, [this, d = dialog.get()] { applyRestore(d); });
    dialog->exec();
}

std::unique_ptr<RestoreSettingsDialog> MainWindow::restoreDialog(const restore::Comparison &comparison,
                                                                 const std::pair<QString, QString> &serials)
{
    // Only worth saying when the file holds settings of one printer.
    bool identityRows = false;
    for (const restore::Row &row : comparison.rows)
        identityRows = identityRows || settings::find(row.key)->identity;
    const QString none = QStringLiteral("—");
    const QString note = comparison.otherPrinter && identityRows
        ? tr("文件来自另一台打印机（序列号%1，这台是%2）：序列号和地址等标识设置未勾选。")
              .arg(serials.first.isEmpty() ? none : serials.first, serials.second.isEmpty() ? none : serials.second)
        : QString();
    return std::make_unique<RestoreSettingsDialog>(
        comparison,
        RestoreSettingsDialog::Wording{[this](const QString &key) { return settingName(key); },
                                       [this](const QString &key, const QString &value) {
                                           return settingValueText(key, value);
                                       }},
        note, this);
}

bool MainWindow::restoreRefused(const restore::Plan &plan)
{
    // What the pages refuse for a whole frame, in the pages' words.
    for (const restore::Step &step : plan.steps) {
        const settings::InstructionRefusal refusal = settings::instructionRefusal(step.code, step.values, openModel());
        switch (refusal.reason) {
        case settings::InstructionRefusal::Reason::None: continue;
        case settings::InstructionRefusal::Reason::TooLong:
            showBox(QMessageBox::Information, tr("设置工具"),
                    tr("%1过长，最多%2字节（UTF-8），请重新输入").arg(settingName(refusal.key)).arg(refusal.limit));
            break;
        case settings::InstructionRefusal::Reason::ShortApPassword:
            showBox(QMessageBox::Information, tr("设置工具"), tr("AP模式的wifi密码最少为8位"));
            break;
        case settings::InstructionRefusal::Reason::StaticWithoutAddress:
            showBox(QMessageBox::Information, tr("设置工具"), tr("DHCP OFF时%1不能为空或0.0.0.0，请重新输入").arg(settingName(refusal.key)));
            break;
        }
        return true;
    }
    return false;
}

void MainWindow::applyRestore(RestoreSettingsDialog *dialog)
{
    const QList<restore::Row> rows = dialog->rows();
    const QStringList sent = restore::keysToSend(rows);
    QStringList all;
    for (const restore::Row &row : rows) {
        if (row.skip == restore::Row::Skip::None)
            all << row.key;
    }
    settings::Values readBack;
    QString failedPage;
    int result = Result::Ok;
    bool restart = false;
    bool planned = false;
    runOnPrinter({.lock = PageFlow::Lock::AfterCheck}, [&] {
        // The other values of each frame as the printer holds them now.
        settings::Values now;
        if (!readSettings(restore::keysToRead(rows, openModel()), now, &failedPage))
            return int(Result::Ok);
        const restore::Plan plan = restore::plan(rows, now, openModel());
        if (restoreRefused(plan))
            return int(Result::Ok);
        planned = true;
        restart = plan.restart;
        for (const restore::Step &step : plan.steps) {
            const int sentResult = SendSettingFrame(settings::frame(step.code, step.values, openModel()), step.code,
                                                    step.values, ret_mode);
            result = result == Result::Ok ? sentResult : result;
            if (const int ms = settings::pauseAfterMs(step.code))
                pause(ms);
        }
        // The printer takes a new print page when told it is complete.
        if (plan.printDone) {
            const int done = SetPrinterStatusButton(PRINT_SETTINGS_DONE, ret_mode);
            result = result == Result::Ok ? done : result;
        }
        QString unreadPage;
        readSettings(all, readBack, &unreadPage);
        return int(Result::Ok);
    });
    if (!planned) {
        if (!failedPage.isEmpty())
            showBox(QMessageBox::Information, tr("设置工具"), tr("恢复失败：%1").arg(tr("无法读取%1").arg(failedPage)));
        return;
    }
    int held = 0;
    for (const restore::Row &row : rows)
        held += sent.contains(row.key) && restore::held(row, readBack) ? 1 : 0;
    QString summary = tr("%1项已生效，%2项未生效。").arg(held).arg(sent.size() - held);
    if (restart)
        summary += QLatin1Char(' ') + tr("请重启打印机，使网络和蓝牙设置生效。");
    dialog->showOutcome(readBack, sent, summary);
    if (result != Result::Ok)
        Ret_Handler(result);
}
