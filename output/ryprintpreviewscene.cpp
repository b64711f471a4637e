#include "output/ryprintpreviewscene.h"

#include "output/rypagecontent.h"

#include <QGraphicsRectItem>
#include <QPainter>
#include <QPrinter>
#include <QStyleOptionGraphicsItem>

#include <cmath>

namespace {

// A white paper page that draws its tiles when painted, so that no tile is held as an image.
class PreviewPage : public QGraphicsRectItem
{
public:
    PreviewPage(const QRectF &rect, int index)
        : QGraphicsRectItem(rect)
        , m_index(index)
    {
        setBrush(Qt::white);
        // Pages drawn once stay as pixmaps in Qt's pixmap cache, which is bounded.
        setCacheMode(DeviceCoordinateCache);
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override
    {
        QGraphicsRectItem::paint(painter, option, widget);
        if (auto *preview = qobject_cast<RyPrintPreviewScene *>(scene()))
            preview->paintPage(*painter, m_index);
    }

private:
    int m_index;
};

// A run of tile columns may be drawn in one piece only when scaling does not move the columns
// apart: the layout advances by the truncated scaled width.
bool keepsWidth(int width, qreal scale)
{
    return qreal(int(width * scale)) == width * scale;
}

} // namespace

RyPrintPreviewScene::RyPrintPreviewScene(const RyPageContent *content, QObject *parent)
    : QGraphicsScene(parent)
    , m_content(content)
    , m_margin(MarginMillimetres * UnitsPerMillimetre, MarginMillimetres * UnitsPerMillimetre)
{
}

void RyPrintPreviewScene::setPageSize(const QSizeF &millimetres)
{
    m_pageSize = QSizeF(std::round(millimetres.width() * UnitsPerMillimetre),
                        std::round(millimetres.height() * UnitsPerMillimetre));
    layOutPages();
}

void RyPrintPreviewScene::setScale(qreal factor)
{
    m_scale = factor;
    layOutPages();
}

void RyPrintPreviewScene::setRepeatTableHeaders(bool repeat)
{
    m_repeatTableHeaders = repeat;
    layOutPages();
}

void RyPrintPreviewScene::setPrintPageNumbers(bool print)
{
    m_printPageNumbers = print;
    // Each page drops its cached drawing.
    const QList<QGraphicsItem *> pages = items();
    for (QGraphicsItem *page : pages)
        page->update();
}

void RyPrintPreviewScene::layOutPages()
{
    clear();
    m_layout = RyPageLayout();
    if (!m_content || m_pageSize.isEmpty() || m_scale <= 0)
        return;
    m_layout.layOut(m_content->tiles(), m_pageSize, m_margin, m_scale, m_repeatTableHeaders);
    const QVector<RyPageLayout::Page> &pages = m_layout.pages();
    for (int index = 0; index < pages.size(); ++index)
        addItem(new PreviewPage(pages.at(index).rect, index));
    setSceneRect(m_layout.boundingRect());
    update();
}

void RyPrintPreviewScene::paintPage(QPainter &painter, int index) const
{
    if (index < 0 || index >= pageCount())
        return;
    const RyPageLayout::Page &page = m_layout.pages().at(index);
    painter.save();
    painter.setClipRect(page.rect, Qt::IntersectClip);
    paintTiles(painter, page);
    if (m_printPageNumbers)
        paintPageNumber(painter, page, index);
    painter.restore();
}

void RyPrintPreviewScene::paintTiles(QPainter &painter, const RyPageLayout::Page &page) const
{
    const QVector<int> &widths = m_content->tiles().columnWidths;
    for (int first = page.firstColumn; first <= page.lastColumn;) {
        int last = first;
        while (last < page.lastColumn && keepsWidth(widths.at(last), m_scale))
            ++last;
        const qreal x = m_layout.columnX(first);
        if (page.hasHeader) {
            painter.save();
            painter.translate(x, m_layout.headerY(page.firstRow));
            painter.scale(m_scale, m_scale);
            m_content->paintHeader(painter, first, last);
            painter.restore();
        }
        painter.save();
        painter.translate(x, m_layout.bodyY(page.firstRow));
        painter.scale(m_scale, m_scale);
        m_content->paintBody(painter, page.firstRow, page.lastRow, first, last);
        painter.restore();
        first = last + 1;
    }
}

void RyPrintPreviewScene::paintPageNumber(QPainter &painter, const RyPageLayout::Page &page,
                                          int index) const
{
    QFont font = painter.font();
    // Scene units, so that the number has the same size on screen, paper and PDF.
    font.setPixelSize(int(m_margin.height() / 2));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF band(page.rect.left(), page.rect.bottom() - m_margin.height(), page.rect.width(),
                      m_margin.height());
    painter.drawText(band, Qt::AlignCenter,
                     QStringLiteral("Page %1 of %2").arg(index + 1).arg(pageCount()));
}

bool RyPrintPreviewScene::paintPages(QPainter &painter, QPagedPaintDevice &device,
                                     const Progress &progress) const
{
    const int count = pageCount();
    for (int index = 0; index < count; ++index) {
        if (index > 0)
            device.newPage();
        const QRectF rect = m_layout.pages().at(index).rect;
        // The page rectangle fills the device page; both have the paper's proportions.
        const qreal factor
            = std::min(device.width() / rect.width(), device.height() / rect.height());
        painter.save();
        painter.scale(factor, factor);
        painter.translate(-rect.topLeft());
        paintPage(painter, index);
        painter.restore();
        if (progress && !progress(index + 1))
            return false;
    }
    return true;
}

bool RyPrintPreviewScene::print(QPrinter *printer, const Progress &progress) const
{
    QPainter painter;
    if (!printer || !painter.begin(printer))
        return false;
    const bool done = paintPages(painter, *printer, progress);
    if (!done)
        printer->abort();
    painter.end();
    return done;
}
