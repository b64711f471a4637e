#pragma once

// Plain text of the rich text (RTF) in which notes are stored: paragraphs become line breaks,
// formatting and the groups that hold no text (font and colour tables, "\*" destinations,
// pictures) are dropped. Reads any bytes in one pass: unbalanced braces, a truncated input
// or an unknown control word shorten or simplify the text, never stop it.

#include <QByteArray>
#include <QString>

namespace mppr {

QString rtfToText(const QByteArray &rtf);

} // namespace mppr
