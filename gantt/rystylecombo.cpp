#include "gantt/rystylecombo.h"

#include "gantt/rystylewidget.h"

#include <QPainter>

RyStyleCombo::RyStyleCombo(QWidget *parent)
    : RyPopupCombo(QStringLiteral("RyStylePopup"), parent)
{
}

void RyStyleCombo::setStyleFont(const QFont &font)
{
    m_font = font;
    update();
}

void RyStyleCombo::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void RyStyleCombo::setBackgroundColor(const QColor &color)
{
    m_background = color;
    update();
}

QWidget *RyStyleCombo::createPicker()
{
    auto *widget = new RyStyleWidget;
    connect(widget, &RyStyleWidget::accepted, this, &RyStyleCombo::takePickerValues);
    return widget;
}

void RyStyleCombo::preparePicker(QWidget *picker)
{
    auto *widget = static_cast<RyStyleWidget *>(picker);
    widget->setFont(m_font);
    widget->setTextColor(m_textColor);
    widget->setBackgroundColor(m_background);
}

void RyStyleCombo::takePickerValues()
{
    const auto *widget = static_cast<const RyStyleWidget *>(picker());
    m_font = widget->font();
    m_textColor = widget->textColor();
    m_background = widget->backgroundColor();
    update();
    emit accepted();
    hidePopup();
}

void RyStyleCombo::paintValue(QPainter *painter, const QRect &rect)
{
    if (m_background.isValid())
        painter->fillRect(rect, m_background);
    QFont sample = m_font;
    sample.setPointSizeF(font().pointSizeF());
    painter->setFont(sample);
    painter->setPen(m_textColor.isValid() ? m_textColor : palette().color(QPalette::Text));
    painter->drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      m_font.family());
}
