#include "gantt/rypopupcombo.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

RyPopupCombo::RyPopupCombo(const QString &popupName, QWidget *parent)
    : QWidget(parent)
    , m_popupName(popupName)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

QSize RyPopupCombo::sizeHint() const
{
    return QSize(60, 22);
}

QFrame *RyPopupCombo::popup()
{
    if (m_popup)
        return m_popup;
    m_popup = new QFrame(this, Qt::Popup);
    m_popup->setObjectName(m_popupName);
    m_popup->setFrameShape(QFrame::StyledPanel);
    // The press that closes the pop-up over this button must not open it again.
    m_popup->setAttribute(Qt::WA_NoMouseReplay);
    auto *layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(1, 1, 1, 1);
    m_picker = createPicker();
    m_picker->setParent(m_popup);
    layout->addWidget(m_picker);
    return m_popup;
}

bool RyPopupCombo::isPopupVisible() const
{
    return m_popup && m_popup->isVisible();
}

void RyPopupCombo::showPopup()
{
    QFrame *frame = popup();
    preparePicker(m_picker);
    frame->adjustSize();
    // Below the button, moved up or left where the screen ends.
    QPoint position = mapToGlobal(rect().bottomLeft());
    if (const QScreen *screen = QApplication::screenAt(position)) {
        const QRect available = screen->availableGeometry();
        if (position.y() + frame->height() > available.bottom())
            position.ry() = mapToGlobal(QPoint(0, 0)).y() - frame->height();
        position.rx()
            = qMax(available.left(), qMin(position.x(), available.right() - frame->width()));
    }
    frame->move(position);
    frame->show();
    m_picker->setFocus();
}

void RyPopupCombo::hidePopup()
{
    if (m_popup)
        m_popup->hide();
}

void RyPopupCombo::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = false;
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    const QRect field
        = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.save();
    painter.setClipRect(field);
    paintValue(&painter, field.adjusted(1, 1, -1, -1));
    painter.restore();
}

void RyPopupCombo::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void RyPopupCombo::mouseReleaseEvent(QMouseEvent *event)
{
    const bool pressedHere = m_pressed;
    m_pressed = false;
    if (pressedHere && event->button() == Qt::LeftButton && rect().contains(event->pos()))
        showPopup();
}

void RyPopupCombo::keyPressEvent(QKeyEvent *event)
{
    const bool altDown = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_F4 || altDown) {
        showPopup();
        return;
    }
    QWidget::keyPressEvent(event);
}
