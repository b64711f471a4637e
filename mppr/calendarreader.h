#pragma once

// Reads the calendars of a version directory (TBkndCal) and the project properties (the
// version's Props and the document summary). A missing or damaged calendar block never fails
// the read: what cannot be decoded is left out.

#include "mppr/calendar.h"
#include "mppr/fieldmap.h"
#include "mppr/varmetablock.h"

#include <QString>
#include <QVector>

namespace mppr {

class PropsBlock;
class StreamStore;

class CalendarReader
{
public:
    struct Layout
    {
        QString directory; // "   114", "   112" or "   19"
        FieldMapStyle mapStyle = FieldMapStyle::Mpp14;
        VarMetaBlock::ItemLayout varMetaLayout = VarMetaBlock::ItemLayout::FieldId;
    };

    CalendarReader(const StreamStore &store, const Layout &layout);

    // Every calendar with a readable record, ascending by unique ID; a base calendar that does
    // not exist makes its derived calendar a base calendar.
    QVector<Calendar> readCalendars(const PropsBlock &props) const;
    ProjectProperties readProperties(const PropsBlock &props,
                                     const QVector<Calendar> &calendars) const;

    // The week days and exceptions of one calendar's data value; false when it is malformed
    // (the calendar then keeps what was decoded before the fault).
    static bool decodeData(const QByteArray &data, bool olderLayout, Calendar &calendar);

private:
    const StreamStore &m_store;
    Layout m_layout;
};

} // namespace mppr
