// The pickers of the bar styles and group dialogs: where their cells lie, which cell a point
// hits, what a release picks, and how the combos hand a choice on and close their pop-ups.
#include "gantt/rybarshapecombo.h"
#include "gantt/rybarshapewidget.h"
#include "gantt/rycolorcombo.h"
#include "gantt/rycolorwidget.h"
#include "gantt/ryendpointcombo.h"
#include "gantt/ryendpointwidget.h"
#include "gantt/rystylecombo.h"
#include "gantt/rystylewidget.h"
#include "gantt/rytextcolorcombo.h"

#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

class TestRyPickers : public QObject
{
    Q_OBJECT
private slots:
    void colorCells_data();
    void colorCells();
    void colorHits_data();
    void colorHits();
    void colorPreselectsLastEqualEntry_data();
    void colorPreselectsLastEqualEntry();
    void colorReleasePicks();
    void endPointCells_data();
    void endPointCells();
    void endPointDrawsShapesInColour();
    void barShapeRows_data();
    void barShapeRows();
    void barShapeNearest_data();
    void barShapeNearest();
    void barShapeKeys();
    void barShapeReleaseOutsideCloses();
    void combosPickThroughTheirPopups_data();
    void combosPickThroughTheirPopups();
    void styleWidgetFont_data();
    void styleWidgetFont();
    void styleComboTakesConfirmedValues();
};

void TestRyPickers::colorCells_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("name");
    QTest::newRow("no colour") << 0 << QRect(6, 6, 12, 12) << "No Color";
    QTest::newRow("end of row 1") << 7 << QRect(118, 6, 12, 12) << "Indigo";
    QTest::newRow("start of row 2") << 8 << QRect(6, 22, 12, 12) << "Gray-80%";
    QTest::newRow("end of row 5") << 39 << QRect(118, 70, 12, 12) << "White";
    QTest::newRow("first extra row") << 40 << QRect(6, 102, 12, 12) << "Periwinkle";
    QTest::newRow("second extra row") << 49 << QRect(22, 118, 12, 12) << "Pink+";
    QTest::newRow("last") << 55 << QRect(118, 118, 12, 12) << "Blue+";
    QTest::newRow("past the end") << 56 << QRect() << "";
}

void TestRyPickers::colorCells()
{
    QFETCH(int, cell);
    QFETCH(QRect, rect);
    QFETCH(QString, name);
    QCOMPARE(RyColorWidget::cellRect(cell), rect);
    if (!name.isEmpty())
        QCOMPARE(RyColorWidget::colors().at(cell).first, name);
    QCOMPARE(RyColorWidget::colors().size(), 56);
    QVERIFY(RyColorWidget().rect().contains(RyColorWidget::cellRect(55)));
}

void TestRyPickers::colorHits_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("cell");
    QTest::newRow("top-left pixel") << QPoint(6, 6) << 0;
    QTest::newRow("margin") << QPoint(5, 6) << -1;
    QTest::newRow("gap between columns") << QPoint(19, 10) << -1;
    QTest::newRow("last pixel of a swatch") << QPoint(29, 33) << 9;
    QTest::newRow("separator band") << QPoint(10, 94) << -1;
    QTest::newRow("extra row") << QPoint(40, 105) << 42;
    QTest::newRow("bottom margin") << QPoint(120, 131) << -1;
}

void TestRyPickers::colorHits()
{
    QFETCH(QPoint, point);
    QFETCH(int, cell);
    QCOMPARE(RyColorWidget::cellAt(point), cell);
}

void TestRyPickers::colorPreselectsLastEqualEntry_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("cell");
    QTest::newRow("invalid is No Color") << QColor() << 0;
    QTest::newRow("plum twice: the later") << QColor("#993366") << 41;
    QTest::newRow("blue twice: the later") << QColor(Qt::blue) << 55;
    QTest::newRow("black once") << QColor(0, 0, 0) << 1;
    QTest::newRow("not in the palette") << QColor("#123456") << -1;
}

void TestRyPickers::colorPreselectsLastEqualEntry()
{
    QFETCH(QColor, color);
    QFETCH(int, cell);
    RyColorWidget widget;
    widget.setColor(color);
    QCOMPARE(widget.selectedCell(), cell);
    QCOMPARE(widget.color(), color);
}

void TestRyPickers::colorReleasePicks()
{
    RyColorWidget widget;
    QSignalSpy picked(&widget, &RyColorWidget::selected);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(10, 94));
    QCOMPARE(picked.count(), 0);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, RyColorWidget::cellRect(27).center());
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.first().first().value<QColor>(), QColor("#FFFF00"));
    QCOMPARE(widget.selectedCell(), 27);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, RyColorWidget::cellRect(0).center());
    QVERIFY(!picked.last().first().value<QColor>().isValid());
}

void TestRyPickers::endPointCells_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("name");
    QTest::newRow("none") << 0 << QRect(2, 2, 11, 11) << "<None>";
    QTest::newRow("diamond") << 3 << QRect(47, 2, 11, 11) << "Diamond";
    QTest::newRow("south penta") << 4 << QRect(2, 17, 11, 11) << "SouthPenta";
    QTest::newRow("east penta before west") << 6 << QRect(32, 17, 11, 11) << "EastPenta";
    QTest::newRow("west cone") << 11 << QRect(47, 32, 11, 11) << "WestCone";
}

void TestRyPickers::endPointCells()
{
    QFETCH(int, cell);
    QFETCH(QRect, rect);
    QFETCH(QString, name);
    QCOMPARE(RyEndPointWidget::cellRect(cell), rect);
    QCOMPARE(RyEndPointWidget::shapeNames().at(cell), name);
    QCOMPARE(RyEndPointWidget::cellAt(rect.topLeft()), cell);
    QCOMPARE(RyEndPointWidget::cellAt(rect.bottomRight()), cell);
    QCOMPARE(RyEndPointWidget::cellAt(rect.topLeft() - QPoint(1, 0)), -1);
    QCOMPARE(RyEndPointWidget::indexOf(name), cell);
    QCOMPARE(RyEndPointWidget::indexOf(QStringLiteral("Star")), 0);
}

void TestRyPickers::endPointDrawsShapesInColour()
{
    RyEndPointWidget widget;
    widget.setColor(Qt::red);
    widget.setCurrentIndex(5);
    const QImage image = widget.grab().toImage();
    // The diamond's middle row spans its cell; "<None>" leaves its cell empty.
    const QRect diamond = RyEndPointWidget::cellRect(3);
    QCOMPARE(image.pixelColor(diamond.left(), diamond.center().y()), QColor(Qt::red));
    const QRect none = RyEndPointWidget::cellRect(0);
    QCOMPARE(image.pixelColor(none.center()), widget.palette().color(QPalette::Base));
}

void TestRyPickers::barShapeRows_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("row");
    QTest::newRow("first pixel") << 0 << 0;
    QTest::newRow("end of row 0") << 21 << 0;
    QTest::newRow("row 1") << 22 << 1;
    QTest::newRow("last row") << 9 * 22 - 1 << 8;
    QTest::newRow("below") << 9 * 22 << -1;
    QTest::newRow("above") << -1 << -1;
}

void TestRyPickers::barShapeRows()
{
    QFETCH(int, y);
    QFETCH(int, row);
    RyBarShapeWidget widget;
    QCOMPARE(widget.height(), 9 * 22);
    QCOMPARE(widget.rowAt(QPoint(5, y)), row);
}

void TestRyPickers::barShapeNearest_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("index");
    QTest::newRow("task") << 11 << 6 << 1;
    QTest::newRow("summary") << 5 << 3 << 2;
    QTest::newRow("baseline") << 3 << 18 << 8;
    QTest::newRow("no body keeps its offset elsewhere") << 0 << 6 << 0;
    QTest::newRow("negative height") << -4 << 2 << 0;
    QTest::newRow("nearly task") << 12 << 6 << 1;
    QTest::newRow("far below") << 3 << 60 << 8;
}

void TestRyPickers::barShapeNearest()
{
    QFETCH(int, height);
    QFETCH(int, offset);
    QFETCH(int, index);
    QCOMPARE(RyBarShapeWidget::indexOf(height, offset), index);
}

void TestRyPickers::barShapeKeys()
{
    RyBarShapeWidget widget;
    QSignalSpy picked(&widget, &RyBarShapeWidget::selected);
    QTest::keyClick(&widget, Qt::Key_Up);
    QCOMPARE(widget.currentIndex(), 0);
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(&widget, Qt::Key_Down);
    QCOMPARE(widget.currentIndex(), 8);
    QTest::keyClick(&widget, Qt::Key_Up);
    QCOMPARE(picked.count(), 0);
    QTest::keyClick(&widget, Qt::Key_Return);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.first().first().toInt(), 7);
    // The chosen row is drawn as the chart's inner bar: 3 pixels at offset 14.
    widget.setColor(Qt::red);
    widget.setCurrentIndex(0);
    const QImage image = widget.grab().toImage();
    const int top = 7 * 22;
    QCOMPARE(image.pixelColor(20, top + 14), QColor(Qt::red));
    QCOMPARE(image.pixelColor(20, top + 16), QColor(Qt::red));
    QVERIFY(image.pixelColor(20, top + 17) != QColor(Qt::red));
}

void TestRyPickers::barShapeReleaseOutsideCloses()
{
    RyBarShapeWidget widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QSignalSpy picked(&widget, &RyBarShapeWidget::selected);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(10, 2 * 22 + 5));
    QCOMPARE(picked.count(), 1);
    QCOMPARE(widget.currentIndex(), 2);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(10, widget.height() + 5));
    QCOMPARE(picked.count(), 1);
    QVERIFY(!widget.isVisible());
}

void TestRyPickers::combosPickThroughTheirPopups_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("popupName");
    QTest::newRow("colour") << "colour"
                            << "RyColorPickerPopup";
    QTest::newRow("text colour") << "text"
                                 << "RyColorPickerPopup";
    QTest::newRow("end point") << "endpoint"
                               << "RyEndPointPopup";
    QTest::newRow("bar shape") << "shape"
                               << "RyBarShapePopup";
}

void TestRyPickers::combosPickThroughTheirPopups()
{
    QFETCH(QString, kind);
    QFETCH(QString, popupName);
    QWidget host;
    RyPopupCombo *combo = nullptr;
    std::unique_ptr<QSignalSpy> changed;
    if (kind == "colour" || kind == "text") {
        auto *colour = kind == "text" ? new RyTextColorCombo(&host) : new RyColorCombo(&host);
        colour->setColor(Qt::black);
        changed.reset(new QSignalSpy(colour, &RyColorCombo::colorChanged));
        combo = colour;
    } else if (kind == "endpoint") {
        auto *endPoint = new RyEndPointCombo(&host);
        changed.reset(new QSignalSpy(endPoint, &RyEndPointCombo::endpointChanged));
        combo = endPoint;
    } else {
        auto *shape = new RyBarShapeCombo(&host);
        changed.reset(new QSignalSpy(shape, &RyBarShapeCombo::shapeChanged));
        combo = shape;
    }
    combo->resize(60, 22);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(10, 10));
    QFrame *popup = combo->findChild<QFrame *>(popupName);
    QVERIFY(popup);
    QVERIFY(popup->isVisible());
    QVERIFY(changed->isEmpty());

    // The first cell of each picker lies at its top-left; pick the second one.
    QWidget *picker = popup->findChildren<QWidget *>().constFirst();
    QPoint second;
    if (kind == "colour" || kind == "text")
        second = RyColorWidget::cellRect(1).center();
    else if (kind == "endpoint")
        second = RyEndPointWidget::cellRect(1).center();
    else
        second = QPoint(10, 22 + 11);
    QTest::mouseClick(picker, Qt::LeftButton, {}, second);
    QCOMPARE(changed->count(), 1);
    QVERIFY(!popup->isVisible());
    if (auto *colour = qobject_cast<RyColorCombo *>(combo))
        QCOMPARE(colour->color(), QColor(Qt::black));
    else
        QCOMPARE(changed->first().first().toInt(), 1);
}

void TestRyPickers::styleWidgetFont_data()
{
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("bold");
    QTest::newRow("plain") << false << false << false;
    QTest::newRow("italic") << true << false << false;
    QTest::newRow("underline") << false << true << false;
    QTest::newRow("bold") << false << false << true;
    QTest::newRow("all") << true << true << true;
}

void TestRyPickers::styleWidgetFont()
{
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, bold);
    RyStyleWidget widget;
    QCOMPARE(widget.height(), 340);
    // A family this system lacks is still offered, so confirming unchanged keeps it.
    QFont start(QStringLiteral("MS Shell Dlg 2"));
    widget.setFont(start);
    widget.italicButton()->setChecked(italic);
    widget.underlineButton()->setChecked(underline);
    widget.boldButton()->setChecked(bold);
    const QFont font = widget.font();
    QCOMPARE(font.family(), QString("MS Shell Dlg 2"));
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.underline(), underline);
    QCOMPARE(font.weight(), bold ? 75 : 50);
}

void TestRyPickers::styleComboTakesConfirmedValues()
{
    QWidget host;
    auto *combo = new RyStyleCombo(&host);
    combo->setStyleFont(QFont(QStringLiteral("MS Shell Dlg 2")));
    combo->setTextColor(Qt::black);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QSignalSpy accepted(combo, &RyStyleCombo::accepted);
    combo->showPopup();
    QFrame *popup = combo->popup();
    auto *widget = popup->findChild<RyStyleWidget *>();
    QVERIFY(widget);
    widget->boldButton()->setChecked(true);
    widget->textColorCombo()->colorSelected(Qt::red);
    QTest::mouseClick(widget->backgroundPicker(), Qt::LeftButton, {},
                      RyColorWidget::cellRect(27).center());
    QCOMPARE(accepted.count(), 0);
    QTest::mouseClick(widget->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
    QCOMPARE(accepted.count(), 1);
    QVERIFY(!popup->isVisible());
    QCOMPARE(combo->styleFont().weight(), 75);
    QCOMPARE(combo->textColor(), QColor(Qt::red));
    QCOMPARE(combo->backgroundColor(), QColor(Qt::yellow));
}

QTEST_MAIN(TestRyPickers)
#include "tst_rypickers.moc"
