// Style combo of the group dialog's Format cells: holds a font, a text colour and a background
// colour, paints a sample of them, and edits them in a RyStyleWidget pop-up ("RyStylePopup").
#pragma once

#include "gantt/rypopupcombo.h"

#include <QColor>
#include <QFont>

class RyStyleCombo : public RyPopupCombo
{
    Q_OBJECT
public:
    explicit RyStyleCombo(QWidget *parent = nullptr);

    void setStyleFont(const QFont &font);
    QFont styleFont() const { return m_font; }
    void setTextColor(const QColor &color);
    QColor textColor() const { return m_textColor; }
    // The invalid colour means no background.
    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const { return m_background; }

signals:
    // The user confirmed the picker; the combo holds the new values.
    void accepted();

protected:
    QWidget *createPicker() override;
    void preparePicker(QWidget *picker) override;
    void paintValue(QPainter *painter, const QRect &rect) override;

private slots:
    void takePickerValues();

private:
    QFont m_font;
    QColor m_textColor = Qt::black;
    QColor m_background;
};
