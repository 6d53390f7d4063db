#pragma once

#include <QString>

namespace plenvoy {

/// True when an answer reads as a number: optional blanks, an optional sign, digits with
/// an optional "." fraction (or a "." fraction alone), an optional exponent ("e" or "E",
/// optional sign, digits), optional blanks. "." is the decimal separator in every locale.
bool readsAsNumber(const QString &text);

/// Converts the answer to "Enter n:" as the batch run does: the number rounded half to
/// even, which must fit -32768..32767 (else the overflow failure); text that does not read
/// as a number raises the type-mismatch failure.
qint16 convertNthValue(const QString &text);

} // namespace plenvoy
