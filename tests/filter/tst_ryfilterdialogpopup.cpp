#include "filter/rydatefilter.h"
#include "filter/rydoublefilter.h"
#include "filter/ryfilterdialogpopup.h"
#include "filter/ryfilterproxymodel.h"
#include "filter/ryintegerfilter.h"
#include "filter/rytextfilter.h"
#include "models/ryconstants.h"

#include <QAbstractItemModelTester>
#include <QAnimationDriver>
#include <QBasicTimer>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTreeView>
#include <QWidgetAction>
#include <QtTest>

namespace {

enum Column { Name, Duration, Float, Start, ColumnCount };

// Drives Qt's animations as the default driver does, on a 16 ms timer, and so tells whether
// any of them is still running.
class AnimationDriver : public QAnimationDriver
{
protected:
    void start() override
    {
        QAnimationDriver::start();
        m_timer.start(16, this);
    }
    void stop() override
    {
        m_timer.stop();
        QAnimationDriver::stop();
    }
    void timerEvent(QTimerEvent *) override { advance(); }

private:
    QBasicTimer m_timer;
};

// A flat activity table: names, durations, floats (texts with decimal commas) and dates.
void fillTable(QStandardItemModel &model)
{
    const char *types[ColumnCount] = { "string", "integer", "double", "datetime" };
    model.setColumnCount(ColumnCount);
    for (int c = 0; c < ColumnCount; ++c)
        model.setHeaderData(c, Qt::Horizontal, QVariantMap { { "datatype", types[c] } },
                            Ry::ColumnDescriptionRole);
    struct Row
    {
        const char *name;
        int duration;
        const char *floatText;
        QDateTime start;
    };
    const Row rows[] = {
        { "Pour", 3, "1,5", QDateTime(QDate(2021, 3, 5), QTime(8, 0), Qt::UTC) },
        { "Dig", 1, "0", QDateTime(QDate(2021, 3, 5), QTime(17, 0), Qt::UTC) },
        { "Alpha", 3, "2", QDateTime(QDate(2021, 3, 5), QTime(8, 0), Qt::UTC) },
        { "Beta", 7, "2", QDateTime(QDate(2021, 4, 1), QTime(8, 0), Qt::UTC) },
        { "Dig", 2, "-1,25", QDateTime(QDate(2022, 1, 10), QTime(8, 0), Qt::UTC) },
    };
    for (const Row &row : rows) {
        QList<QStandardItem *> items;
        items << new QStandardItem(QString::fromLatin1(row.name));
        auto *duration = new QStandardItem;
        duration->setData(row.duration, Qt::DisplayRole);
        items << duration << new QStandardItem(QString::fromLatin1(row.floatText));
        auto *start = new QStandardItem;
        start->setData(row.start, Qt::DisplayRole);
        items << start;
        model.appendRow(items);
    }
}

QStringList texts(const QAbstractItemModel *model, const QModelIndex &parent = QModelIndex())
{
    QStringList list;
    for (int row = 0; row < model->rowCount(parent); ++row)
        list << model->index(row, 0, parent).data().toString();
    return list;
}

QModelIndex proxyIndexOf(RyFilterDialogPopUp &popUp, QStandardItem *item)
{
    return popUp.valueProxy()->mapFromSource(item->index());
}

// Toggles an item's check box the way the view does, then reports the click.
void click(RyFilterDialogPopUp &popUp, QStandardItem *item)
{
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    popUp.onItemClicked(proxyIndexOf(popUp, item));
}

} // namespace

class TestRyFilterDialogPopUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void layout();
    void subclassPerDatatype_data();
    void subclassPerDatatype();
    void flatValueList();
    void dateTree();
    void checkPropagationInDateTree();
    void selectAll();
    void searchNarrowsAndCollects();
    void searchReachesDates();
    void showValueFilter();
    void expressionTab();
    void dateExpressionTab();
    void outcomeFlags();
    void valueDelegateIsUsed();
    void blanksEntry_data();
    void blanksEntry();
    void columnWithoutBlanksHasNoEntry();

private:
    QStandardItemModel *m_model = nullptr;
    AnimationDriver m_animations;
};

void TestRyFilterDialogPopUp::initTestCase()
{
    m_animations.install();
}

void TestRyFilterDialogPopUp::init()
{
    m_model = new QStandardItemModel;
    fillTable(*m_model);
}

void TestRyFilterDialogPopUp::cleanup()
{
    delete m_model;
}

void TestRyFilterDialogPopUp::layout()
{
    std::unique_ptr<RyFilterDialogPopUp> popUp(RyFilterDialogPopUp::create(m_model, Name));
    const QList<QAction *> actions = popUp->actions();
    QCOMPARE(actions.size(), 7);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Sort A to Z"));
    QVERIFY(actions.at(0)->isCheckable());
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Sort Z to A"));
    QVERIFY(actions.at(1)->isCheckable());
    QVERIFY(actions.at(2)->isSeparator());
    QCOMPARE(actions.at(3), popUp->clearAction());
    QCOMPARE(actions.at(3)->text(), QStringLiteral("Clear"));
    QVERIFY(actions.at(4)->isSeparator());
    QCOMPARE(qobject_cast<QWidgetAction *>(actions.at(5))->defaultWidget(), popUp->tabWidget());
    QCOMPARE(qobject_cast<QWidgetAction *>(actions.at(6))->defaultWidget(),
             static_cast<QWidget *>(popUp->buttonBox()));
    QCOMPARE(popUp->buttonBox()->standardButtons(),
             QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    QCOMPARE(popUp->tabWidget()->count(), 2);
    QCOMPARE(popUp->tabWidget()->tabText(0), QStringLiteral("List"));
    QCOMPARE(popUp->tabWidget()->tabText(1), QStringLiteral("Expression"));
    QVERIFY(popUp->tabWidget()->styleSheet().contains("alignment: center"));
    QVERIFY(popUp->isListTabCurrent());
    QVERIFY(popUp->searchEdit()->isClearButtonEnabled());
    QVERIFY(popUp->valueView()->isHeaderHidden());
    QCOMPARE(popUp->valueView()->model(), popUp->valueProxy());
    QCOMPARE(popUp->focusWidget(), popUp->searchEdit());

    QAbstractItemModelTester tester(popUp->valueProxy(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    popUp->searchEdit()->setText("p");
    popUp->searchEdit()->clear();

    popUp->show();
    QVERIFY(QTest::qWaitForWindowExposed(popUp.get()));
    QVERIFY(popUp->valueView()->isVisible());
}

void TestRyFilterDialogPopUp::subclassPerDatatype_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("operators");

    const QStringList numbers({ "equals", "does not equal", "is greater than",
                                "is greater than or equal to", "is less than",
                                "is less than or equal to" });
    QTest::newRow("string") << int(Name) << "RyTextFilter"
                            << QStringList({ "equals", "does not equal", "begins with",
                                             "does not begin with", "ends with",
                                             "does not end with", "contains", "does not contain" });
    QTest::newRow("integer") << int(Duration) << "RyIntegerFilter" << numbers;
    QTest::newRow("double") << int(Float) << "RyDoubleFilter" << numbers;
    QTest::newRow("datetime") << int(Start) << "RyDateFilter"
                              << QStringList({ "equals", "does not equal", "is after",
                                               "is after or equal to", "is before",
                                               "is before or equal to" });
    QTest::newRow("no description")
        << 9 << "RyTextFilter"
        << QStringList({ "equals", "does not equal", "begins with", "does not begin with",
                         "ends with", "does not end with", "contains", "does not contain" });
}

void TestRyFilterDialogPopUp::subclassPerDatatype()
{
    QFETCH(int, column);
    QFETCH(QString, className);
    QFETCH(QStringList, operators);

    std::unique_ptr<RyFilterDialogPopUp> popUp(RyFilterDialogPopUp::create(m_model, column));
    QCOMPARE(QString::fromLatin1(popUp->metaObject()->className()), className);
    QCOMPARE(popUp->column(), column);
    const QList<QComboBox *> combos = popUp->tabWidget()->widget(1)->findChildren<QComboBox *>();
    QCOMPARE(combos.size(), 2);
    QStringList first, second;
    for (int i = 0; i < combos.at(0)->count(); ++i)
        first << combos.at(0)->itemText(i);
    for (int i = 0; i < combos.at(1)->count(); ++i)
        second << combos.at(1)->itemText(i);
    QCOMPARE(first, operators);
    QCOMPARE(second, QStringList { QString() } + operators);
    const QList<QRadioButton *> radios
        = popUp->tabWidget()->widget(1)->findChildren<QRadioButton *>();
    QCOMPARE(radios.size(), 2);
    QCOMPARE(radios.at(0)->text(), QStringLiteral("&AND"));
    QVERIFY(radios.at(0)->isChecked());
    QCOMPARE(radios.at(1)->text(), QStringLiteral("&OR"));
}

void TestRyFilterDialogPopUp::flatValueList()
{
    RyTextFilter names(m_model, Name);
    QCOMPARE(texts(names.valueModel()),
             QStringList({ "(Select All)", "Alpha", "Beta", "Dig", "Pour" }));
    for (int row = 0; row < names.valueModel()->rowCount(); ++row) {
        QVERIFY(names.valueModel()->item(row)->isCheckable());
        QCOMPARE(names.valueModel()->item(row)->checkState(), Qt::Checked);
    }
    RyIntegerFilter durations(m_model, Duration);
    QCOMPARE(texts(durations.valueModel()), QStringList({ "(Select All)", "1", "2", "3", "7" }));
    QCOMPARE(durations.firstValueBox()->minimum(), -99999);
    QCOMPARE(durations.firstValueBox()->maximum(), 99999);

    RyDoubleFilter floats(m_model, Float);
    QCOMPARE(floats.firstValueBox()->decimals(), 2);
    QCOMPARE(floats.firstValueBox()->minimum(), -99999.99);
    QCOMPARE(floats.secondValueBox()->maximum(), 99999.99);
}

void TestRyFilterDialogPopUp::dateTree()
{
    const QDate before = QDate::currentDate();
    RyDateFilter dates(m_model, Start);
    QStandardItemModel *values = dates.valueModel();
    QCOMPARE(texts(values), QStringList({ "(Select All)", "2021", "2022" }));
    const QModelIndex y2021 = values->index(1, 0);
    QCOMPARE(texts(values, y2021), QStringList({ "March", "April" }));
    // Two activities on 5 March at different times and one at the same time: one day item.
    QCOMPARE(texts(values, values->index(0, 0, y2021)), QStringList({ "05.03.2021" }));
    QCOMPARE(texts(values, values->index(1, 0, y2021)), QStringList({ "01.04.2021" }));
    QCOMPARE(texts(values, values->index(0, 0, values->index(2, 0))),
             QStringList({ "10.01.2022" }));

    QCOMPARE(dates.firstValueEdit()->displayFormat(), QStringLiteral("dd-MM-yyyy"));
    // Today, read on either side of the construction so that midnight cannot fall between.
    QVERIFY(dates.firstValueEdit()->date() >= before);
    QVERIFY(dates.firstValueEdit()->date() <= QDate::currentDate());
    QCOMPARE(dates.secondValueEdit()->displayFormat(), QStringLiteral("dd-MM-yyyy"));
}

void TestRyFilterDialogPopUp::checkPropagationInDateTree()
{
    RyDateFilter dates(m_model, Start);
    QStandardItemModel *values = dates.valueModel();
    QStandardItem *selectAll = values->item(0);
    QStandardItem *y2021 = values->item(1);
    QStandardItem *march = y2021->child(0);
    QStandardItem *april = y2021->child(1);
    QStandardItem *fifth = march->child(0);

    click(dates, fifth);
    QCOMPARE(march->checkState(), Qt::Unchecked);
    QCOMPARE(y2021->checkState(), Qt::Unchecked);
    QCOMPARE(april->checkState(), Qt::Checked);
    QCOMPARE(selectAll->checkState(), Qt::Unchecked);

    click(dates, fifth);
    QCOMPARE(march->checkState(), Qt::Checked);
    QCOMPARE(y2021->checkState(), Qt::Checked);
    QCOMPARE(selectAll->checkState(), Qt::Checked);

    // A parent gives its state to its whole subtree.
    click(dates, y2021);
    QCOMPARE(march->checkState(), Qt::Unchecked);
    QCOMPARE(fifth->checkState(), Qt::Unchecked);
    QCOMPARE(april->child(0)->checkState(), Qt::Unchecked);
    QCOMPARE(selectAll->checkState(), Qt::Unchecked);

    // Checking April alone leaves 2021 unchecked, since March differs.
    click(dates, april);
    QCOMPARE(april->child(0)->checkState(), Qt::Checked);
    QCOMPARE(y2021->checkState(), Qt::Unchecked);
    QStringList checked;
    for (const QVariant &value : dates.checkedValues())
        checked << value.toString();
    QCOMPARE(checked,
             QStringList({ "April", "2021-04-01T08:00:00.000Z", "2022", "January",
                           "2022-01-10T08:00:00.000Z" }));
}

void TestRyFilterDialogPopUp::selectAll()
{
    RyDateFilter dates(m_model, Start);
    QStandardItemModel *values = dates.valueModel();
    QVERIFY(dates.showsAllValues());
    click(dates, values->item(0));
    QCOMPARE(values->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(values->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(values->item(2)->child(0)->child(0)->checkState(), Qt::Unchecked);
    QVERIFY(dates.checkedValues().isEmpty());
    QVERIFY(!dates.showsAllValues());

    click(dates, values->item(0));
    QCOMPARE(values->item(1)->child(1)->child(0)->checkState(), Qt::Checked);
    QVERIFY(dates.showsAllValues());
    // The merged day item stands for each of its cells, kept in their own form.
    const QVariantList checked = dates.checkedValues();
    QVERIFY(checked.contains(QDateTime(QDate(2021, 3, 5), QTime(8, 0), Qt::UTC)));
    QVERIFY(checked.contains(QDateTime(QDate(2021, 3, 5), QTime(17, 0), Qt::UTC)));
    QVERIFY(!checked.contains(QStringLiteral("(Select All)")));
}

void TestRyFilterDialogPopUp::searchNarrowsAndCollects()
{
    RyTextFilter names(m_model, Name);
    QVERIFY(!names.isNarrowed());
    names.searchEdit()->setText("a");
    // Wildcard, case-insensitive, anywhere in the text; "(Select All)" stays.
    QCOMPARE(texts(names.valueProxy()), QStringList({ "(Select All)", "Alpha", "Beta" }));
    QVERIFY(names.isNarrowed());
    QVERIFY(!names.showsAllValues());
    QCOMPARE(names.checkedValues(), QVariantList({ "Alpha", "Beta" }));

    names.searchEdit()->setText("d*g");
    QCOMPARE(texts(names.valueProxy()), QStringList({ "(Select All)", "Dig" }));

    // A search that hides nothing does not narrow the list.
    names.searchEdit()->setText("*");
    QVERIFY(!names.isNarrowed());
    QVERIFY(names.showsAllValues());
}

void TestRyFilterDialogPopUp::searchReachesDates()
{
    RyDateFilter dates(m_model, Start);
    dates.searchEdit()->setText("04.2021");
    RyFilterProxyModel *proxy = dates.valueProxy();
    QCOMPARE(texts(proxy), QStringList({ "(Select All)", "2021" }));
    const QModelIndex year = proxy->index(1, 0);
    QCOMPARE(texts(proxy, year), QStringList({ "April" }));
    QCOMPARE(texts(proxy, proxy->index(0, 0, year)), QStringList({ "01.04.2021" }));
}

void TestRyFilterDialogPopUp::showValueFilter()
{
    RyDateFilter dates(m_model, Start);
    dates.showValueFilter(
        { QDateTime(QDate(2021, 4, 1), QTime(8, 0), Qt::UTC), "2022", "unknown" });
    QStandardItemModel *values = dates.valueModel();
    QCOMPARE(values->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(values->item(1)->checkState(), Qt::Unchecked);
    // April 2021 holds one day, which is listed: the month and its year follow their days.
    QCOMPARE(values->item(1)->child(1)->child(0)->checkState(), Qt::Checked);
    QCOMPARE(values->item(1)->child(1)->checkState(), Qt::Checked);
    QCOMPARE(values->item(1)->checkState(), Qt::Unchecked);
    // "2022" names the year, but its only day is not listed.
    QCOMPARE(values->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(values->item(2)->child(0)->checkState(), Qt::Unchecked);

    RyTextFilter names(m_model, Name);
    names.showValueFilter({ "Dig", "Pour" });
    QCOMPARE(names.checkedValues(), QVariantList({ "Dig", "Pour" }));
}

void TestRyFilterDialogPopUp::expressionTab()
{
    RyDoubleFilter floats(m_model, Float);
    floats.setExpression(">", "1,5", "<=", "-5", false);
    QCOMPARE(floats.tabWidget()->currentIndex(), 1);
    QVERIFY(!floats.isListTabCurrent());
    QCOMPARE(floats.firstOperator(), QStringLiteral("is greater than"));
    QCOMPARE(floats.firstValue(), QVariant(1.5));
    QCOMPARE(floats.secondOperator(), QStringLiteral("is less than or equal to"));
    QCOMPARE(floats.secondValue(), QVariant(-5.0));
    QVERIFY(!floats.isAnd());

    RyIntegerFilter durations(m_model, Duration);
    durations.setExpression("=", "12", "", QVariant(), true);
    QCOMPARE(durations.firstOperator(), QStringLiteral("equals"));
    QCOMPARE(durations.firstValue(), QVariant(12));
    QCOMPARE(durations.secondOperator(), QString());
    QVERIFY(durations.isAnd());
    // Negative values stay negative.
    durations.firstValueBox()->setValue(-5);
    QCOMPARE(durations.firstValue().toInt(), -5);

    RyTextFilter names(m_model, Name);
    names.setExpression("begins with", "a;b", "contains", "x", true);
    QCOMPARE(names.firstOperator(), QStringLiteral("begins with"));
    QCOMPARE(names.firstValue(), QVariant("a;b"));
    QCOMPARE(names.secondOperator(), QStringLiteral("contains"));
}

void TestRyFilterDialogPopUp::dateExpressionTab()
{
    RyDateFilter dates(m_model, Start);
    dates.setExpression(">", "2021-03-05", "<=", QDate(2021, 12, 31), true);
    QCOMPARE(dates.firstOperator(), QStringLiteral("is after"));
    QCOMPARE(dates.firstValue(), QVariant(QDate(2021, 3, 5)));
    QCOMPARE(dates.secondOperator(), QStringLiteral("is before or equal to"));
    QCOMPARE(dates.secondValue(), QVariant(QDate(2021, 12, 31)));
    QCOMPARE(dates.firstValueEdit()->text(), QStringLiteral("05-03-2021"));
    QCOMPARE(dates.displayOperator(">="), QStringLiteral("is after or equal to"));
}

void TestRyFilterDialogPopUp::outcomeFlags()
{
    RyTextFilter names(m_model, Name);
    QVERIFY(!names.isAccepted() && !names.isCleared() && !names.isRejected());
    names.clearAction()->trigger();
    QVERIFY(names.isCleared());
    names.buttonBox()->button(QDialogButtonBox::Ok)->click();
    QVERIFY(names.isAccepted());
    RyTextFilter other(m_model, Name);
    other.buttonBox()->button(QDialogButtonBox::Cancel)->click();
    QVERIFY(other.isRejected());
    QVERIFY(!other.isAccepted());
}

namespace {

class UpperCaseDelegate : public QStyledItemDelegate
{
public:
    QString displayText(const QVariant &value, const QLocale &) const override
    {
        return value.toString().toUpper();
    }
};

} // namespace

void TestRyFilterDialogPopUp::valueDelegateIsUsed()
{
    UpperCaseDelegate delegate;
    {
        RyTextFilter names(m_model, Name);
        names.setValueDelegate(&delegate);
        QCOMPARE(names.valueView()->itemDelegate(), &delegate);
    }
    // The pop-up does not own the delegate it was given.
    QCOMPARE(delegate.displayText("a", QLocale()), QStringLiteral("A"));
}

void TestRyFilterDialogPopUp::blanksEntry_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("valueCount"); // top-level items besides "(Select All)" and "(Blanks)"
    QTest::newRow("text") << int(Name) << 4;
    QTest::newRow("date tree") << int(Start) << 2;
    QTest::newRow("number") << int(Duration) << 4;
}

void TestRyFilterDialogPopUp::blanksEntry()
{
    QFETCH(int, column);
    QFETCH(int, valueCount);
    // A row without a name, a date or a duration; an empty text counts as no value too.
    QList<QStandardItem *> row { new QStandardItem(QString()), new QStandardItem,
                                 new QStandardItem(QStringLiteral("3")), new QStandardItem };
    m_model->appendRow(row);
    m_model->appendRow({ new QStandardItem(QStringLiteral("")), new QStandardItem,
                         new QStandardItem, new QStandardItem });
    std::unique_ptr<RyFilterDialogPopUp> popUp(RyFilterDialogPopUp::create(m_model, column));
    QStandardItemModel *values = popUp->valueModel();
    QCOMPARE(values->rowCount(), valueCount + 2);
    QStandardItem *blanks = values->item(values->rowCount() - 1);
    QCOMPARE(blanks->text(), RyFilterDialogPopUp::blanksText());
    QVERIFY(blanks->isCheckable());

    // Only "(Blanks)" checked: the list is one null value, and shows the same way again.
    click(*popUp, values->item(0));
    click(*popUp, blanks);
    QCOMPARE(popUp->checkedValues(), QVariantList { QVariant() });
    popUp->showValueFilter({ QVariant::fromValue(nullptr) });
    QCOMPARE(blanks->checkState(), Qt::Checked);
    QCOMPARE(popUp->checkedValues(), QVariantList { QVariant() });
    // A text equal to the entry's label is no blank.
    popUp->showValueFilter({ RyFilterDialogPopUp::blanksText() });
    QCOMPARE(blanks->checkState(), Qt::Unchecked);

    RyTextFilter floats(m_model, Float);
    QCOMPARE(floats.valueModel()->rowCount(), 5 + 1 + 1);
}

void TestRyFilterDialogPopUp::columnWithoutBlanksHasNoEntry()
{
    RyTextFilter names(m_model, Name);
    QVERIFY(!texts(names.valueModel()).contains(RyFilterDialogPopUp::blanksText()));
}

// The search field's clear button fades in and out; a fade still running at exit is never
// freed, which the sanitized build reports as a leak. The fades start from the event loop and
// delete themselves once they end.
void TestRyFilterDialogPopUp::cleanupTestCase()
{
    QCoreApplication::processEvents();
    QTRY_VERIFY(!m_animations.isRunning());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(TestRyFilterDialogPopUp)
#include "tst_ryfilterdialogpopup.moc"
