// The print preview: paper pages laid side by side as they fall in the page grid, each page
// drawing its tiles of the page content when it is painted. The same page drawing goes to a
// printer or a PDF file, one device page per preview page. The content is not owned.
#pragma once

#include "output/rypagelayout.h"

#include <QGraphicsScene>

#include <functional>

class QPagedPaintDevice;
class QPrinter;
class RyPageContent;

class RyPrintPreviewScene : public QGraphicsScene
{
    Q_OBJECT
public:
    static constexpr qreal UnitsPerMillimetre = 4.33333;
    static constexpr qreal MarginMillimetres = 5;
    // Told the number of pages done; returning false stops the output.
    using Progress = std::function<bool(int pagesDone)>;

    explicit RyPrintPreviewScene(const RyPageContent *content, QObject *parent = nullptr);

    // Paper size in millimetres; kept in scene units, each rounded to the nearest unit.
    void setPageSize(const QSizeF &millimetres);
    QSizeF pageSize() const { return m_pageSize; }
    QSizeF margin() const { return m_margin; }
    void setScale(qreal factor);
    qreal scale() const { return m_scale; }
    void setRepeatTableHeaders(bool repeat);
    bool repeatTableHeaders() const { return m_repeatTableHeaders; }
    void setPrintPageNumbers(bool print);
    bool printPageNumbers() const { return m_printPageNumbers; }

    const RyPageLayout &pageLayout() const { return m_layout; }
    int pageCount() const { return m_layout.pages().size(); }
    // Page `index` (reading order) in scene coordinates, with its number when numbers are on.
    void paintPage(QPainter &painter, int index) const;
    // Every page onto its own device page; false when `progress` stopped it.
    bool paintPages(QPainter &painter, QPagedPaintDevice &device,
                    const Progress &progress = Progress()) const;
    bool print(QPrinter *printer, const Progress &progress = Progress()) const;

private:
    void layOutPages();
    void paintTiles(QPainter &painter, const RyPageLayout::Page &page) const;
    void paintPageNumber(QPainter &painter, const RyPageLayout::Page &page, int index) const;

    const RyPageContent *m_content;
    QSizeF m_pageSize;
    QSizeF m_margin;
    qreal m_scale = 1.0;
    bool m_repeatTableHeaders = true;
    bool m_printPageNumbers = false;
    RyPageLayout m_layout;
};
