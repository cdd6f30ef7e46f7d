// Listing: the printers the tool can see, and every setting key.
#include "cli/command.h"
#include "cli/output.h"

#include <QJsonArray>

namespace cli {

int Command::list()
{
    const QList<FoundPrinter> found = session.list(o.udp, o.udpPort);
    if (o.json) {
        QJsonArray printers;
        for (const FoundPrinter &f : found)
            printers << QJsonObject{{QStringLiteral("name"), f.name}, {QStringLiteral("printer"), f.address}};
        printJson(out, {{QStringLiteral("ok"), true}, {QStringLiteral("printers"), printers}});
        return Success;
    }
    for (const FoundPrinter &f : found)
        out << terminalText(f.name) << " [" << terminalText(f.address) << "]\n";
    if (found.isEmpty())
        err << "labelsetup-cli: no printer found\n";
    return Success;
}

int Command::keys()
{
    static const QMap<settings::Kind, QString> kinds = {
        {settings::Kind::Number, QStringLiteral("number")}, {settings::Kind::Decimal, QStringLiteral("length")},
        {settings::Kind::Choice, QStringLiteral("choice")}, {settings::Kind::Text, QStringLiteral("text")},
        {settings::Kind::Address, QStringLiteral("address")}, {settings::Kind::Info, QStringLiteral("read-only")}};
    QJsonArray list;
    for (const settings::Setting &s : settings::catalogue()) {
        if (!o.json) {
            const QString what = s.kind == settings::Kind::Choice ? s.choices.join(QLatin1Char('|'))
                               : s.kind == settings::Kind::Info   ? QStringLiteral("read only")
                                                                  : s.unit;
            out << s.key << '\t' << what << '\n';
            continue;
        }
        // Which models have it: the model group, and the stripper only on
        // the extended models.
        const bool extended = settings::appliesTo(s, {8, true}), standard = settings::appliesTo(s, {8, false});
        QJsonObject key{{QStringLiteral("key"), s.key},
                        {QStringLiteral("page"), s.page},
                        {QStringLiteral("kind"), kinds.value(s.kind)},
                        {QStringLiteral("unit"), s.unit},
                        {QStringLiteral("secret"), s.secret},
                        {QStringLiteral("identity"), s.identity},
                        {QStringLiteral("restart"), settings::needsRestart(s.page)},
                        {QStringLiteral("models"), extended && standard ? QStringLiteral("all")
                                                   : extended           ? QStringLiteral("extended")
                                                                        : QStringLiteral("standard")}};
        if (s.kind == settings::Kind::Choice)
            key.insert(QStringLiteral("choices"), QJsonArray::fromStringList(s.choices));
        list << key;
    }
    if (o.json)
        printJson(out, {{QStringLiteral("ok"), true}, {QStringLiteral("keys"), list}});
    return Success;
}

} // namespace cli
