// The chart of the snip dialog with two vertical split lines that the user drags to mark the
// part to keep; the parts outside the lines are shaded. The chart is drawn from the page content
// when shown, never held as an image. The content is not owned.
#pragma once

#include <QGraphicsScene>

class QGraphicsLineItem;
class QGraphicsRectItem;
class RyPageContent;

class RySnipGraphicsScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit RySnipGraphicsScene(const RyPageContent *content, QObject *parent = nullptr);

    int sceneWidth() const { return m_sceneWidth; }
    int sceneHeight() const { return m_sceneHeight; }
    qreal leftLineX() const;
    qreal rightLineX() const;
    QGraphicsRectItem *leftShade() const { return m_leftShade; }
    QGraphicsRectItem *rightShade() const { return m_rightShade; }
    // The chart between the lines, in scene (= chart pixel) coordinates.
    QRect selection() const;
    const RyPageContent *content() const { return m_content; }

signals:
    void cursorUpdated(bool splitCursor);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void createSplitLines();
    bool hits(const QGraphicsLineItem *line, const QPointF &point) const;
    void moveActiveLine(qreal x);

    const RyPageContent *m_content;
    bool m_dragging = false;
    int m_activeLine = -1;
    int m_sceneWidth = 0;
    int m_sceneHeight = 0;
    QGraphicsLineItem *m_leftLine = nullptr;
    QGraphicsLineItem *m_rightLine = nullptr;
    QGraphicsRectItem *m_leftShade = nullptr;
    QGraphicsRectItem *m_rightShade = nullptr;
};
