// Repair of numeric line edits when the operator finishes editing, without
// the widgets: the window's fixLineEditWithTip / fixIntegerLineEdit take
// the field's trimmed text and its remembered last valid value, call these,
// and apply the result (write the text with signals blocked, remember the
// value, show the tip).
#pragma once

#include <QString>

namespace repair {

struct DecimalResult
{
    bool valid = false;     // the text read as a number
    double value = 0;       // value to remember (the last valid one when !valid)
    QString text;           // what the field must show
    bool textChanged = false; // write `text` into the field
    bool showTip = false;   // input refused or moved into the range
};

// Millimetre field (label width/height). Full-width comma, stops and minus
// are folded to ASCII; blanks, apostrophes and underscores go; trailing
// non-numeric characters are stripped ("50mm" -> 50). A "," is the decimal
// point when it follows a "." ("1.234,5") or, alone, when one or two
// characters follow it ("12,5"); otherwise it groups thousands ("1,234").
// The value is clamped into [min, max], rounded to one decimal
// (floor(value x 10 + 0.5) / 10 as one fused multiply-add) and shown as a
// plain integer when integral ("50"), else with one decimal ("60.3").
// Text that holds no ASCII digit or does not convert is refused: the field
// shows lastValid with one decimal ("102.0") and the tip appears.
DecimalResult repairDecimal(const QString &trimmedText, double min, double max,
                            double lastValid);

struct IntegerResult
{
    bool valid = false;
    int value = 0;          // value to remember (the last valid one when !valid)
    QString text;           // what the field must show
    bool textChanged = false; // write `text` into the field
};

// Whole-number field. Everything but "-" and ASCII digits is dropped
// ("12ab3" -> 123), and a "-" that is not the first character loses its
// first occurrence ("1-2" -> 12). The rest must be one 32-bit signed
// integer; otherwise ("--3", "-", "", out of range) the field shows
// lastValid again. No range check, no tip.
IntegerResult repairInteger(const QString &trimmedText, int lastValid);

// Decimal value as the label-size fields show a remembered value: exactly
// one decimal ("102.0").
QString oneDecimal(double value);

} // namespace repair
