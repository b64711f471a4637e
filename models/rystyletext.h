// The short text forms in which layouts store fonts and colours.
#pragma once

#include <QBrush>
#include <QFont>
#include <QString>

class QColor;

namespace RyStyleText {

QString fontToText(const QFont &font); // "Arial:ib"
// A text without ":" is taken as a bare family name.
QFont fontFromText(const QString &text);
QString colorToText(const QColor &color); // "r255g0b0a255"
// A solid brush; Qt::NoBrush when the text does not hold four components in 0..255.
QBrush colorFromText(const QString &text);

} // namespace RyStyleText
