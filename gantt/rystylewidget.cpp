#include "gantt/rystylewidget.h"

#include "gantt/rycolorwidget.h"
#include "gantt/rytextcolorcombo.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

RyStyleWidget::RyStyleWidget(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(PickerHeight);
    auto *layout = new QVBoxLayout(this);

    auto *fontBox = new QGroupBox(QStringLiteral("Font"), this);
    auto *fontLayout = new QVBoxLayout(fontBox);
    m_family = new QComboBox(fontBox);
    m_family->setObjectName(QStringLiteral("fontFamily"));
    m_family->setFixedSize(150, 22);
    m_family->addItems(QFontDatabase().families());
    fontLayout->addWidget(m_family);
    auto *row = new QHBoxLayout;
    m_italic = makeToggle(QStringLiteral(":/images/character_italic_small.png"),
                          QStringLiteral("Italic"));
    m_underline = makeToggle(QStringLiteral(":/images/character_underline_small.png"),
                             QStringLiteral("Underline"));
    m_bold
        = makeToggle(QStringLiteral(":/images/character_bold_small.png"), QStringLiteral("Bold"));
    m_textColor = new RyTextColorCombo(fontBox);
    m_textColor->setFixedSize(50, 22);
    m_textColor->setToolTip(QStringLiteral("Text color"));
    for (QWidget *widget : { static_cast<QWidget *>(m_italic), static_cast<QWidget *>(m_underline),
                             static_cast<QWidget *>(m_bold), static_cast<QWidget *>(m_textColor) })
        row->addWidget(widget);
    row->addStretch();
    fontLayout->addLayout(row);
    layout->addWidget(fontBox);

    auto *colorBox = new QGroupBox(QStringLiteral("Color"), this);
    auto *colorLayout = new QVBoxLayout(colorBox);
    m_background = new RyColorWidget(colorBox);
    colorLayout->addWidget(m_background, 0, Qt::AlignHCenter);
    layout->addWidget(colorBox);

    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    connect(ok, &QPushButton::clicked, this, &RyStyleWidget::accepted);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

QToolButton *RyStyleWidget::makeToggle(const QString &icon, const QString &tip)
{
    auto *button = new QToolButton(this);
    button->setCheckable(true);
    button->setFixedSize(20, 20);
    button->setIcon(QIcon(icon));
    button->setToolTip(tip);
    return button;
}

void RyStyleWidget::setFont(const QFont &font)
{
    // A family this system lacks stays choosable, so that confirming unchanged keeps it.
    if (m_family->findText(font.family()) < 0)
        m_family->insertItem(0, font.family());
    m_family->setCurrentIndex(m_family->findText(font.family()));
    m_italic->setChecked(font.italic());
    m_underline->setChecked(font.underline());
    m_bold->setChecked(font.weight() > QFont::Normal);
}

QFont RyStyleWidget::font() const
{
    QFont font(m_family->currentText());
    font.setItalic(m_italic->isChecked());
    font.setUnderline(m_underline->isChecked());
    font.setWeight(m_bold->isChecked() ? QFont::Bold : QFont::Normal);
    return font;
}

void RyStyleWidget::setTextColor(const QColor &color)
{
    m_textColor->setColor(color);
}

QColor RyStyleWidget::textColor() const
{
    return m_textColor->color();
}

void RyStyleWidget::setBackgroundColor(const QColor &color)
{
    m_background->setColor(color);
}

QColor RyStyleWidget::backgroundColor() const
{
    return m_background->color();
}
