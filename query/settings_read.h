// Reading many settings at once, through the settings catalogue: each
// query the pages use, once, for every setting asked for. The command
// line's session, the window's backup and its restore read this way.
#pragma once

#include "protocol/settings_catalogue.h"

#include <QMap>
#include <QStringList>
#include <functional>

// Reads every instruction that carries one of `keys` over the medium, in
// the order the pages send them, then the read-only keys' own queries.
// Keys of failed queries are left out of `values` and go into `failed`
// with their query's result; `progress` hears (queries done, queries in
// all, whether one failed so far) after each and may end the reads by
// returning false. The first failure, or Result::Ok.
int ReadSettings(const QStringList &keys, const settings::Model &model, int mode, settings::Values &values,
                 QMap<QString, int> *failed = nullptr, const std::function<bool(int, int, bool)> &progress = {});
