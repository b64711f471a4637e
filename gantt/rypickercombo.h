// Bases of the picker combos over a RyPickerWidget pop-up. RyPickerCombo keeps the colour the
// value is drawn in, in step with the picker, and paints the "no value" text;
// RyIndexPickerCombo adds the index of the chosen item among the picker's choices.
// Templates without Q_OBJECT: each concrete combo declares its own signals.
#pragma once

#include "gantt/rypopupcombo.h"

#include <QColor>
#include <QPainter>

template <class Picker>
class RyPickerCombo : public RyPopupCombo
{
public:
    // Silent: only a choice of the user emits the concrete combo's signal.
    void setColor(const QColor &color)
    {
        m_color = color;
        if (picker())
            pickerWidget()->setColor(color);
        update();
    }
    QColor color() const { return m_color; }

protected:
    RyPickerCombo(const QString &popupName, const QColor &color, QWidget *parent)
        : RyPopupCombo(popupName, parent)
        , m_color(color)
    {
    }

    Picker *pickerWidget() const { return static_cast<Picker *>(picker()); }
    void preparePicker(QWidget *widget) override
    {
        static_cast<Picker *>(widget)->setColor(m_color);
    }
    void paintNoValue(QPainter *painter, const QRect &rect, const QString &text) const
    {
        painter->setPen(palette().color(QPalette::Text));
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
    }

private:
    QColor m_color;
};

template <class Picker>
class RyIndexPickerCombo : public RyPickerCombo<Picker>
{
public:
    // Silent, like setColor; bounded to the picker's choices.
    void setCurrentIndex(int index)
    {
        m_index = qBound(0, index, Picker::choiceTotal() - 1);
        this->update();
    }
    int currentIndex() const { return m_index; }

protected:
    using RyPickerCombo<Picker>::RyPickerCombo;

    void preparePicker(QWidget *widget) override
    {
        RyPickerCombo<Picker>::preparePicker(widget);
        static_cast<Picker *>(widget)->setCurrentIndex(m_index);
    }
    QWidget *createPicker() override
    {
        auto *widget = new Picker;
        QObject::connect(widget, &Picker::selected, this, [this](int index) { takeChoice(index); });
        return widget;
    }
    // Takes the user's choice `index`: stores it, closes the pop-up and emits the change.
    void takeChoice(int index)
    {
        setCurrentIndex(index);
        this->hidePopup();
        emitChange(m_index);
    }
    // Emits the concrete combo's change signal.
    virtual void emitChange(int index) = 0;

private:
    int m_index = 0;
};
