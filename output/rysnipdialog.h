// "Snip settings": the whole chart in a zoomable view with split lines; the chart between the
// lines goes to a PNG file or the clipboard at full resolution. The content is not owned and
// must outlive the dialog.
#pragma once

#include <QDialog>
#include <QImage>

class QGraphicsView;
class RyPageContent;
class RySnipGraphicsScene;

class RySnipDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RySnipDialog(const RyPageContent *content, QWidget *parent = nullptr);

    RySnipGraphicsScene *scene() const { return m_scene; }
    QGraphicsView *view() const { return m_view; }
    double zoomFactor() const { return m_zoomFactor; }

    // Why an image of this size cannot be made; empty when it can.
    static QString sizeProblem(const QSize &size);
    // The chart between the lines at full size; a null image, and the reason, when too large.
    QImage selectedImage(QString *problem = nullptr) const;
    // Saves the selected image, telling the user how it went.
    bool savePng(const QString &path);

public slots:
    void zoomInClicked();
    void zoomOutClicked();
    void saveToPngClicked();
    void saveToClipboardClicked();
    void setSplitCursor(bool splitCursor);

protected:
    void showEvent(QShowEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The selected image, or a null image after telling the user why there is none.
    QImage imageOrMessage();

    RySnipGraphicsScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
    double m_zoomFactor = 1.5;
};
