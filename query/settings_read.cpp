#include "query/settings_read.h"

#include "protocol/result.h"
#include "query/printer_io.h"

int ReadSettings(const QStringList &keys, const settings::Model &model, int mode, settings::Values &values,
                 QMap<QString, int> *failed, const std::function<bool(int, int, bool)> &progress)
{
    QList<SetInfoType> codes = settings::instructionsFor(keys, model);
    // Read-only keys come from queries no set sends.
    for (const QString &key : keys) {
        const settings::Setting *s = settings::find(key);
        if (s && !s->writable() && !codes.contains(s->code))
            codes << s->code;
    }
    int first = Result::Ok;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const int result = ReadSetting(codes[i], model, values, mode);
        if (first == Result::Ok)
            first = result;
        if (result != Result::Ok && failed) {
            for (const QString &key : settings::keysOf(codes[i], model))
                failed->insert(key, result);
        }
        if (progress && !progress(int(i + 1), int(codes.size()), first != Result::Ok))
            break;
    }
    return first;
}
