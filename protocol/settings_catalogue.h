// Every setting a page reads and writes, under a stable key, with the
// instruction that carries it, the unit the operator sees and the values
// it may take. The window's page readers decode with it and take their
// refusals from it; the command-line tool and the profiles use nothing
// else. Frames are built by the one encoder per instruction in
// instructions.h, so no encoding rule exists twice.
//
// Values are plain texts in the operator's units: millimetres with three
// decimals for lengths (gaps, offsets, sensor distances, the label size;
// the printer keeps dots, mm x mmToDot rounded half away from zero, and
// three decimals bring every dot count back at 8 and at 12 dots/mm), dots
// for the two head distances, seconds for the stripper, names for
// enumerations (speed, density and code page are plain numbers), dotted
// quads for addresses, and texts as proto::losslessText() keeps them.
#pragma once

#include "protocol/codes.h"
#include "protocol/instructions.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace settings {

// What the printer model changes about its settings: millimetres to dots,
// and whether it is one of the models with a printing method (thermal or
// transfer) and eight speeds instead of an automatic paper feed and four.
struct Model
{
    int mmToDot = 8;
    bool extended = false;
    // Models that take firmware only: the window shows none of their
    // settings pages.
    bool firmwareOnly = false;
};

enum class Kind {
    Number,   // an integer, in `unit`
    Decimal,  // a length in millimetres, three decimals; dots on the printer
    Choice,   // one of `choices`
    Text,     // UTF-8 text
    Address,  // dotted IPv4 address
    Info,     // read only (device id, MAC addresses)
};

enum class Models { All, ExtendedOnly, StandardOnly };

struct Setting
{
    QString key;
    QString page;
    SetInfoType code;
    Kind kind;
    QString unit;          // "mm", "dots", "s" or empty
    QStringList choices;   // Choice: names, the page's combo order
    bool secret = false;   // passwords and PINs: left out of profiles by default
    // Belongs to one printer (its serial number, its addresses and the
    // address modes that go with them): left out of clones by default.
    bool identity = false;
    Models models = Models::All;
    bool writable() const { return kind != Kind::Info; }
};

// All settings, pages in the window's order, keys in each page's order.
const QList<Setting> &catalogue();
const Setting *find(const QString &key);
// print, distance, serial, stripper, wifi, ip, ethernet, bluetooth.
QStringList pageNames();
// Whether the window shows the page for the model: the stripper page only
// on the models with a stripper (the extended ones), no settings page on
// the firmware-only models.
bool pageShown(const QString &page, const Model &model);
// The setting is on the model: its model group, on a page the window shows.
bool appliesTo(const Setting &setting, const Model &model);
// Settings of a page (or all for an empty page) that the model has.
QList<const Setting *> settingsOf(const QString &page, const Model &model);

// Values keyed by setting key, each in the setting's text form.
using Values = QMap<QString, QString>;

// The instructions a set of these pages sends, in sending order (the
// print page first, in the order the printer expects, and so on), each
// once. `keys` selects: an instruction is listed when it carries one of
// them.
QList<SetInfoType> instructionsFor(const QStringList &keys, const Model &model);
// The keys one instruction carries, in payload order, for this model.
QStringList keysOf(SetInfoType code, const Model &model);

// One query reply's payload (the zero-filled result buffer of the query
// helpers) to the values of the keys it carries: those of the model's group
// (a page the window hides for the model still decodes, for the reader
// that asked). An enumeration byte that
// names no choice, or a speed, density or code page beyond its combo,
// leaves its key out, so a reader shows nothing for it.
Values decode(SetInfoType code, const unsigned char *payload, int size, const Model &model);
// Index of a Choice value in its page combo, -1 when absent or unknown.
int choiceIndex(const Values &values, const QString &key);

// Lengths: millimetres to the dots the printer keeps (rounded half away
// from zero) and back (three decimals).
int dotsOf(const QString &millimetres, const Model &model);
QString millimetresOf(int dots, const Model &model);

// The refusal table: what the window and the command line accept for one
// setting on one model. A number or length lies in its range (a length is
// judged by the dots it becomes), in the operator's unit: the page's combo
// for speed, density and code page, the window's label size (width 20 ~
// 108, height 10 ~ 1778 mm), otherwise whatever the printer's 16-bit field
// holds without wrapping. Texts take at most 254 bytes, each part of an
// address 0 ~ 255, a choice one of its names.
struct Range
{
    double min = 0;
    double max = 0;
};
std::optional<Range> range(const Setting &setting, const Model &model);

struct Refusal
{
    enum class Reason {
        None,
        Range,       // min, max
        AddressPart, // a part is not 0 ~ 255 (or missing, on the command line)
        TooLong,     // limit: bytes
        NotAChoice,
        ReadOnly,
    };
    Reason reason = Reason::None;
    double min = 0;
    double max = 0;
    int limit = 0;
    bool ok() const { return reason == Reason::None; }
};
// One field's operator text judged by its key's rule on the model. The
// window turns a refusal into its box ("…的取值范围为…"), the command line
// into describe()'s words.
Refusal refusal(const Setting &setting, const QString &text, const Model &model);
// "The range of KEY is A ~ B", "KEY is too long, at most N bytes (UTF-8)",
// "The range of each part of KEY is 0 ~ 255", "KEY must be one of a, b, c",
// "KEY is read only".
QString describe(const Setting &setting, const Refusal &refusal);

// Operator input to a setting's text form for the model (a length becomes
// what the printer will answer for the dots it is sent as), or the
// refusal in describe()'s words.
struct Checked
{
    QString value;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
Checked check(const Setting &setting, const QString &text, const Model &model);
// KEY=VALUE pairs as the command line takes them, each checked against
// the catalogue: against `model`, or with no model yet (null) against every
// model, a value passing when some model takes it. The values in their
// text form, or nullopt with the first refusal in `error` ("PAIR: write
// KEY=VALUE", "KEY: unknown key ...", a check() refusal, "KEY does not
// exist on this model").
std::optional<Values> parseAssignments(const QStringList &pairs, const Model *model, QString *error);
// Refusals that concern a whole instruction: texts that share one payload
// (at most 255 bytes together), an access-point pass phrase shorter than
// eight characters, and a static Ethernet address left empty or 0.0.0.0.
// Empty when the frame can carry `values`.
QString checkInstruction(SetInfoType code, const Values &values, const Model &model);
// The same refusals, for a caller that words them itself (the window).
struct InstructionRefusal
{
    enum class Reason { None, TooLong, ShortApPassword, StaticWithoutAddress };
    Reason reason = Reason::None;
    QString key;     // the setting refused
    int limit = 0;   // TooLong: the bytes it may take
    bool ok() const { return reason == Reason::None; }
};
InstructionRefusal instructionRefusal(SetInfoType code, const Values &values, const Model &model);
// The set frame of one instruction from the values of all its keys.
QByteArray frame(SetInfoType code, const Values &values, const Model &model);

// What the printer needs around a set.
// After the print page's instructions: the "print settings done" frame.
bool needsPrintDone(SetInfoType code);
// Pause after the instruction, in milliseconds (the Wi-Fi side restarts).
int pauseAfterMs(SetInfoType code);
// The page takes effect only after the printer restarts.
bool needsRestart(const QString &page);
// Every model a value may be meant for (a profile, a command line without
// a printer yet), widest ranges first.
const QList<Model> &everyModel();

} // namespace settings
