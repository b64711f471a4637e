// The bar styles dialog: what it hands back untouched and after each kind of edit, how it copes
// with styles it cannot show, and that its Appearance preview is the chart's own bar.
#include "gantt/rybarshapecombo.h"
#include "gantt/rycolorcombo.h"
#include "gantt/ryendpointcombo.h"
#include "gantt/ryganttchartstylesdialog.h"
#include "gantt/ryganttchartstylesdialogdelegate.h"
#include "gantt/ryganttchartstylesdialogmodel.h"
#include "models/ryconstants.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QPainter>
#include <QTableView>
#include <QtTest>

namespace {

using Model = RyGanttChartStylesDialogModel;
using Formats = QMap<int, int>;

const QStringList DateColumns = { "Start Date", "Finish Date", "Actual Start", "Actual Finish" };
const QStringList Columns = { "Activity ID", "Activity Name", "Start Date", "Finish Date" };

QList<RyGanttViewBarStyle> layoutStyles()
{
    QFile file(QStringLiteral(":/files/mpp_style.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QVariantMap layout = QJsonDocument::fromJson(file.readAll()).toVariant().toMap();
    return RyGanttViewBarStyle::fromVariantList(layout.value("barStyles").toList());
}

// What a layout written by hand or by another program may hold.
QList<RyGanttViewBarStyle> badStyles()
{
    RyGanttViewBarStyle odd = RyGanttViewBarStyle::fromVariantMap(
        { { "styleName", "Odd" },
          { "startPointShape", "Star" },
          { "startPointColor", "not a colour" },
          { "bodyShapeHeight", 250 },
          { "bodyShapeOffset", -40 },
          { "bodyColor", "#12345" },
          { "endPointShape", "<None>" },
          { "endPointColor", "#00ff00" },
          { "displayColumns",
            QVariantList { QVariantMap { { "key", 32 }, { "value", "Gone" } },
                           QVariantMap { { "key", 7 }, { "value", "X" } } } },
          { "startDate", "No such date" } });
    RyGanttViewBarStyle negative = odd;
    negative.styleName = "Negative";
    negative.bodyShapeHeight = -3;
    return { odd, negative, RyGanttViewBarStyle() };
}

QImage render(const RyGanttViewBarStyle &style, bool selected = false)
{
    QImage image(300, 70, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.palette.setColor(QPalette::WindowText, Qt::black);
    option.palette.setColor(QPalette::Window, Qt::gray);
    if (selected)
        option.state |= QStyle::State_Selected;
    RyGanttChartStylesDialogModel model;
    model.setStyles({ style });
    RyGanttChartStylesDialogDelegate delegate(DateColumns);
    delegate.paint(&painter, option, model.index(0, Model::AppearanceColumn));
    return image;
}

int countPixels(const QImage &image, const QColor &color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == color;
    return count;
}

} // namespace

class TestRyGanttChartStylesDialog : public QObject
{
    Q_OBJECT
private slots:
    void modelUnderTester();
    void untouchedIsIdentity_data();
    void untouchedIsIdentity();
    void badInputShowsNoneOrNearest();
    void edits_data();
    void edits();
    void showOffMakesDatesReadOnly();
    void showToggledByClick();
    void dateEditorMatchesExactly_data();
    void dateEditorMatchesExactly();
    void dateFormats_data();
    void dateFormats();
    void previewOfMilestoneIsItsDiamond();
    void previewFollowsTheRecord();
};

void TestRyGanttChartStylesDialog::modelUnderTester()
{
    RyGanttChartStylesDialog dialog(DateColumns);
    QAbstractItemModelTester tester(dialog.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    dialog.setStyles(RyGanttViewBarStyle::defaultStyles());
    dialog.model()->setData(dialog.model()->index(1, Model::ShowColumn), false, Model::ValueRole);
    QVERIFY(layoutStyles().size() >= 6);
    dialog.setStyles(layoutStyles());
    QCOMPARE(dialog.model()->rowCount(), layoutStyles().size());
    QCOMPARE(dialog.model()->headerData(4, Qt::Horizontal).toString(), QString("Appearance"));
}

void TestRyGanttChartStylesDialog::untouchedIsIdentity_data()
{
    QTest::addColumn<QList<RyGanttViewBarStyle>>("styles");
    QTest::newRow("built-in") << RyGanttViewBarStyle::defaultStyles();
    QTest::newRow("default layout") << layoutStyles();
    QTest::newRow("bad input") << badStyles();
    QTest::newRow("none") << QList<RyGanttViewBarStyle>();
}

void TestRyGanttChartStylesDialog::untouchedIsIdentity()
{
    QFETCH(QList<RyGanttViewBarStyle>, styles);
    RyGanttChartStylesDialog dialog(DateColumns);
    dialog.setStyles(styles);
    dialog.setColumnNames(Columns);
    // Visiting every row loads it into the editors, which must not write anything back.
    for (int row = 0; row < styles.size(); ++row)
        dialog.table()->setCurrentIndex(dialog.model()->index(row, Model::NameColumn));
    QCOMPARE(dialog.styles(), styles);
}

void TestRyGanttChartStylesDialog::badInputShowsNoneOrNearest()
{
    RyGanttChartStylesDialog dialog(DateColumns);
    dialog.setColumnNames(Columns);
    dialog.setStyles(badStyles());
    QCOMPARE(dialog.table()->currentIndex(), dialog.model()->index(0, Model::NameColumn));
    QCOMPARE(dialog.startShapeCombo()->currentIndex(), 0); // "Star": none
    QVERIFY(!dialog.startColorCombo()->color().isValid());
    QCOMPARE(dialog.barShapeCombo()->currentIndex(), 1); // 250 high: the nearest, the task bar
    QVERIFY(!dialog.barColorCombo()->color().isValid());
    QCOMPARE(dialog.endShapeCombo()->currentIndex(), 0);
    QCOMPARE(dialog.positionCombo(RyGanttViewBarStyle::Top)->currentIndex(), 0);

    // Editing the end colour keeps what the editors could not show.
    dialog.endColorCombo()->colorSelected(Qt::red);
    const RyGanttViewBarStyle edited = dialog.styles().first();
    QCOMPARE(edited.endPointColor, QColor(Qt::red));
    QCOMPARE(edited.startPointShape, QString("Star"));
    QCOMPARE(edited.bodyShapeHeight, 250);
    QCOMPARE(edited.displayColumns.value(32), QString("Gone"));
    QCOMPARE(edited.displayColumns.value(7), QString("X"));

    dialog.table()->setCurrentIndex(dialog.model()->index(1, Model::NameColumn));
    QCOMPARE(dialog.barShapeCombo()->currentIndex(), 0); // negative height: no body
}

void TestRyGanttChartStylesDialog::edits_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QVariantMap>("expected"); // layout keys that change
    QTest::newRow("no start colour removes the marker")
        << 1 << "startColor:none" << QVariantMap { { "startPointColor", "" } };
    QTest::newRow("start shape") << 0 << "startShape:3"
                                 << QVariantMap { { "startPointShape", "Diamond" } };
    QTest::newRow("start shape none")
        << 2 << "startShape:0" << QVariantMap { { "startPointShape", "" } };
    QTest::newRow("bar colour") << 0 << "barColor:red"
                                << QVariantMap { { "bodyColor", "#ff0000" } };
    QTest::newRow("bar shape") << 0 << "barShape:8"
                               << QVariantMap { { "bodyShapeHeight", 3 },
                                                { "bodyShapeOffset", 18 } };
    QTest::newRow("no body keeps the markers' offset")
        << 2 << "barShape:0" << QVariantMap { { "bodyShapeHeight", 0 }, { "bodyShapeOffset", 3 } };
    QTest::newRow("end shape and colour")
        << 0 << "endShape:9,endColor:red"
        << QVariantMap { { "endPointShape", "NorthCone" }, { "endPointColor", "#ff0000" } };
    QTest::newRow("right label") << 0 << "label:2=Activity Name"
                                 << QVariantMap {
                                        { "displayColumns",
                                          QVariantList { QVariantMap {
                                              { "key", 2 }, { "value", "Activity Name" } } } }
                                    };
    QTest::newRow("top label replaced then removed")
        << 0 << "label:32=Activity ID,label:32=Start Date,label:32=[Top]"
        << QVariantMap { { "displayColumns", QVariantList() } };
}

void TestRyGanttChartStylesDialog::edits()
{
    QFETCH(int, row);
    QFETCH(QString, edit);
    QFETCH(QVariantMap, expected);
    RyGanttChartStylesDialog dialog(DateColumns);
    dialog.setColumnNames(Columns);
    const QList<RyGanttViewBarStyle> styles = RyGanttViewBarStyle::defaultStyles();
    dialog.setStyles(styles);
    dialog.table()->setCurrentIndex(dialog.model()->index(row, Model::NameColumn));
    for (const QString &step : edit.split(',')) {
        const QString what = step.section(':', 0, 0);
        const QString value = step.section(':', 1);
        const QColor colour = value == "none" ? QColor() : QColor(value);
        if (what == "startColor")
            dialog.startColorCombo()->colorSelected(colour);
        else if (what == "startShape")
            dialog.startShapeCombo()->endpointSelected(value.toInt());
        else if (what == "barColor")
            dialog.barColorCombo()->colorSelected(colour);
        else if (what == "barShape")
            dialog.barShapeCombo()->shapeSelected(value.toInt());
        else if (what == "endShape")
            dialog.endShapeCombo()->endpointSelected(value.toInt());
        else if (what == "endColor")
            dialog.endColorCombo()->colorSelected(colour);
        else if (what == "label")
            dialog.positionCombo(value.section('=', 0, 0).toInt())
                ->setCurrentText(value.section('=', 1));
    }
    QVariantMap want = styles.at(row).toVariantMap();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        want.insert(it.key(), it.value());
    const QList<RyGanttViewBarStyle> result = dialog.styles();
    QCOMPARE(result.at(row), RyGanttViewBarStyle::fromVariantMap(want));
    for (int other = 0; other < styles.size(); ++other) {
        if (other != row)
            QCOMPARE(result.at(other), styles.at(other));
    }
}

void TestRyGanttChartStylesDialog::showOffMakesDatesReadOnly()
{
    RyGanttChartStylesDialog dialog(DateColumns);
    dialog.setStyles(RyGanttViewBarStyle::defaultStyles());
    Model *model = dialog.model();
    for (int column : { Model::StartColumn, Model::FinishColumn })
        QVERIFY(model->flags(model->index(0, column)) & Qt::ItemIsEditable);
    QVERIFY(model->flags(model->index(0, Model::ShowColumn)) & Qt::ItemIsUserCheckable);
    model->setData(model->index(0, Model::ShowColumn), false, Model::ValueRole);
    for (int column : { Model::StartColumn, Model::FinishColumn })
        QVERIFY(!(model->flags(model->index(0, column)) & Qt::ItemIsEditable));
    QVERIFY(!model->style(0).visible);
    QVERIFY(!dialog.styles().first().visible);
    model->setData(model->index(0, Model::ShowColumn), true, Model::ValueRole);
    QVERIFY(model->flags(model->index(0, Model::StartColumn)) & Qt::ItemIsEditable);
    QCOMPARE(dialog.styles(), RyGanttViewBarStyle::defaultStyles());
}

void TestRyGanttChartStylesDialog::showToggledByClick()
{
    RyGanttChartStylesDialog dialog(DateColumns);
    dialog.setStyles(RyGanttViewBarStyle::defaultStyles());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableView *table = dialog.table();
    const QRect cell = table->visualRect(dialog.model()->index(2, Model::ShowColumn));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(!dialog.styles().at(2).visible);
    QVERIFY(!table->indexWidget(dialog.model()->index(2, Model::ShowColumn)));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(dialog.styles().at(2).visible);
}

void TestRyGanttChartStylesDialog::dateEditorMatchesExactly_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("item");
    QTest::newRow("exact") << "Actual Start" << 2;
    QTest::newRow("case differs") << "actual start" << 0;
    QTest::newRow("unknown") << "Baseline Start" << 0;
}

void TestRyGanttChartStylesDialog::dateEditorMatchesExactly()
{
    QFETCH(QString, cell);
    QFETCH(int, item);
    RyGanttChartStylesDialogModel model;
    RyGanttViewBarStyle style;
    style.startDate = cell;
    model.setStyles({ style });
    RyGanttChartStylesDialogDelegate delegate(DateColumns);
    QWidget parent;
    const QModelIndex index = model.index(0, Model::StartColumn);
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, {}, index));
    auto *combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    QCOMPARE(combo->count(), DateColumns.size());
    delegate.setEditorData(combo, index);
    QCOMPARE(combo->currentIndex(), item);
    combo->setCurrentIndex(3);
    delegate.setModelData(combo, &model, index);
    QCOMPARE(model.styles().first().startDate, QString("Actual Finish"));
}

void TestRyGanttChartStylesDialog::dateFormats_data()
{
    QTest::addColumn<Formats>("given");
    QTest::addColumn<Formats>("shown");
    const QMap<int, int> header { { Ry::Hour, 0 },  { Ry::Day, 0 },     { Ry::Week, 0 },
                                  { Ry::Month, 3 }, { Ry::Quarter, 0 }, { Ry::Year, 0 } };
    QTest::newRow("header defaults") << header << header;
    QMap<int, int> last { { Ry::Hour, 1 },  { Ry::Day, 4 },     { Ry::Week, 4 },
                          { Ry::Month, 3 }, { Ry::Quarter, 2 }, { Ry::Year, 2 } };
    QTest::newRow("last items") << last << last;
    QMap<int, int> outside { { Ry::Day, 9 }, { Ry::Month, -2 }, { Ry::Hour, 1 } };
    QTest::newRow("out of range") << outside
                                  << QMap<int, int> { { Ry::Hour, 1 },    { Ry::Day, 4 },
                                                      { Ry::Week, 0 },    { Ry::Month, 0 },
                                                      { Ry::Quarter, 0 }, { Ry::Year, 0 } };
}

void TestRyGanttChartStylesDialog::dateFormats()
{
    QFETCH(Formats, given);
    QFETCH(Formats, shown);
    RyGanttChartStylesDialog dialog(DateColumns);
    dialog.setDateFormats(given);
    QCOMPARE(dialog.dateFormats(), shown);
    QCOMPARE(dialog.dateFormatCombo(Ry::Month)->itemText(2), QString("Jan"));
    QCOMPARE(dialog.dateFormatCombo(Ry::Week)->itemText(4), QString("01 Jan '17"));
}

void TestRyGanttChartStylesDialog::previewOfMilestoneIsItsDiamond()
{
    const RyGanttViewBarStyle milestone = RyGanttViewBarStyle::defaultStyles().at(1);
    const QImage image = render(milestone);
    const QRect bar = RyGanttChartStylesDialogDelegate::previewRect(image.rect());
    QCOMPARE(bar.size(), QSize(200, 22));
    // An 11-pixel diamond centred on the bar's left end, its top at the body offset (6).
    const int middle = bar.top() + 6 + 5;
    QCOMPARE(image.pixelColor(bar.left() - 5, middle), QColor(Qt::black));
    QCOMPARE(image.pixelColor(bar.left() + 5, middle), QColor(Qt::black));
    QCOMPARE(image.pixelColor(bar.left(), bar.top() + 6), QColor(Qt::black));
    QCOMPARE(image.pixelColor(bar.left() - 6, middle), QColor(Qt::white));
    QCOMPARE(countPixels(image, Qt::black), 61); // the diamond's pixels, nothing else
}

void TestRyGanttChartStylesDialog::previewFollowsTheRecord()
{
    RyGanttViewBarStyle task = RyGanttViewBarStyle::defaultStyles().first();
    task.bodyColor = Qt::red;
    task.displayColumns.insert(RyGanttViewBarStyle::Right, "Activity Name");
    const QImage image = render(task, true);
    const QRect bar = RyGanttChartStylesDialogDelegate::previewRect(image.rect());
    QCOMPARE(image.pixelColor(bar.left() + 1, bar.top() + 6), QColor(Qt::red));
    QCOMPARE(image.pixelColor(bar.right(), bar.top() + 16), QColor(Qt::red));
    QCOMPARE(image.pixelColor(bar.center().x(), bar.top() + 5), QColor(Qt::gray)); // selected
    QCOMPARE(image.pixelColor(bar.center().x(), bar.top() + 17), QColor(Qt::gray));
    // The right label: text right of the bar end, none at its left.
    bool textRight = false;
    for (int x = bar.right() + 10; x < image.width(); ++x)
        textRight |= image.pixelColor(x, bar.center().y()).lightness() < 100;
    QVERIFY(textRight);
    for (int x = 0; x < bar.left(); ++x)
        QCOMPARE(image.pixelColor(x, bar.center().y()), QColor(Qt::gray));
}

QTEST_MAIN(TestRyGanttChartStylesDialog)
#include "tst_ryganttchartstylesdialog.moc"
