#include "models/rystyletext.h"

#include <QColor>
#include <QRegularExpression>
#include <QStringList>

namespace RyStyleText {

QString fontToText(const QFont &font)
{
    QString text = font.family() + QLatin1Char(':');
    if (font.style() != QFont::StyleNormal)
        text += QLatin1Char('i');
    if (font.underline())
        text += QLatin1Char('u');
    if (font.weight() > 57)
        text += QLatin1Char('b');
    return text;
}

QFont fontFromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const QString flags = parts.value(1);
    QFont font(parts.at(0));
    font.setItalic(flags.contains(QLatin1Char('i')));
    font.setUnderline(flags.contains(QLatin1Char('u')));
    font.setWeight(flags.contains(QLatin1Char('b')) ? 75 : 50);
    return font;
}

QString colorToText(const QColor &color)
{
    return QStringLiteral("r%1g%2b%3a%4")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

QBrush colorFromText(const QString &text)
{
    static const QRegularExpression letter(QStringLiteral("[a-z]"));
    const QStringList parts = text.split(letter, Qt::SkipEmptyParts);
    if (parts.size() < 4)
        return QBrush();
    int rgba[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        rgba[i] = parts.at(i).toInt(&ok, 10);
        if (!ok || rgba[i] < 0 || rgba[i] > 255)
            return QBrush();
    }
    return QBrush(QColor(rgba[0], rgba[1], rgba[2], rgba[3]));
}

} // namespace RyStyleText
