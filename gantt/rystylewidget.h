// Style picker for group rows: a font (family, italic, underline, bold), a text colour and a
// background colour picked from the colour grid, confirmed with "Ok".
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

class QComboBox;
class QToolButton;
class RyColorWidget;
class RyTextColorCombo;

class RyStyleWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PickerHeight = 340;

    explicit RyStyleWidget(QWidget *parent = nullptr);

    void setFont(const QFont &font);
    // The chosen family, italic and underline as set, weight 75 when bold is on, else 50.
    QFont font() const;
    void setTextColor(const QColor &color);
    QColor textColor() const;
    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    QComboBox *familyCombo() const { return m_family; }
    QToolButton *italicButton() const { return m_italic; }
    QToolButton *underlineButton() const { return m_underline; }
    QToolButton *boldButton() const { return m_bold; }
    RyTextColorCombo *textColorCombo() const { return m_textColor; }
    RyColorWidget *backgroundPicker() const { return m_background; }

signals:
    void accepted();

private:
    QToolButton *makeToggle(const QString &icon, const QString &tip);

    QComboBox *m_family = nullptr;
    QToolButton *m_italic = nullptr;
    QToolButton *m_underline = nullptr;
    QToolButton *m_bold = nullptr;
    RyTextColorCombo *m_textColor = nullptr;
    RyColorWidget *m_background = nullptr;
};
