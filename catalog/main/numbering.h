#pragma once

#include <QString>

// The counter formatted by an inventory mask: "0" digit, "#" optional digit, "." and ","
// decimal and thousands markers, E+/E- scientific notation, quoted text, up to three ";"
// sections (positive, negative, zero). The whole part is never cut.
QString FormatMask(double value, const QString& mask);
