// What a header needs from the object that draws sort and filter indicators into its sections.
// The sort/filter widget implements it; the header only holds a non-owning pointer.
#pragma once

#include <QPoint>
#include <QRect>

class QHeaderView;
class QPainter;

class RySectionPainter
{
public:
    virtual ~RySectionPainter() = default;

    // Called after the header drew a section the usual way. `rect` is the section in header
    // coordinates, `cursor` the mouse position mapped into the header (for hover highlighting).
    virtual void paintSection(const QHeaderView *header, QPainter *painter, const QRect &rect,
                              int logicalIndex, const QPoint &cursor) const = 0;
};
