// The group dialog: rule strings in and out, the editors its delegate offers per column kind,
// and the formats it shows and writes for each level.
#include "gantt/rystylecombo.h"
#include "views/rygroupdialog.h"
#include "views/rygroupdialogdelegate.h"

#include "activitystack.h"

#include <QComboBox>
#include <QTableWidget>
#include <QtTest>

class TestRyGroupDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rulesRoundTrip_data();
    void rulesRoundTrip();
    void setGroupsEdgeCases_data();
    void setGroupsEdgeCases();
    void unformattedRowsAreBlackOnBase();
    void groupByChoices_data();
    void groupByChoices();
    void ruleEditorFollowsColumnKind_data();
    void ruleEditorFollowsColumnKind();
    void formatEditor_data();
    void formatEditor();

private:
    QWidget *edit(int row, int column, const QString &text);

    ActivityStack *m_stack = nullptr;
    RyGroupDialog *m_dialog = nullptr;
};

void TestRyGroupDialog::init()
{
    m_stack = new ActivityStack;
    m_dialog = new RyGroupDialog;
    m_dialog->setModel(&m_stack->activities);
    // As the main window does: structure columns marked, key columns hidden.
    const QAbstractItemModel *model = &m_stack->activities;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString name = model->headerData(column, Qt::Horizontal).toString();
        if (name == "WBS Code" || name == "WBS Name")
            m_dialog->setStructured(column);
        if (name.contains("_id") || name.contains("ID") || name == "Group")
            m_dialog->setColumnHidden(column, true);
    }
    m_dialog->setColumnHidden(1, false); // un-hiding works too: parentID comes back
    m_dialog->setColumnHidden(1, true);
}

void TestRyGroupDialog::cleanup()
{
    delete m_dialog;
    delete m_stack;
}

// Runs the delegate's editor for a cell as the table would, choosing `text` in a combo.
QWidget *TestRyGroupDialog::edit(int row, int column, const QString &text)
{
    QTableWidget *table = m_dialog->table();
    const QModelIndex index = table->model()->index(row, column);
    QWidget *editor = m_dialog->delegate()->createEditor(table->viewport(), {}, index);
    if (!editor)
        return nullptr;
    m_dialog->delegate()->setEditorData(editor, index);
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        combo->setCurrentText(text);
    m_dialog->delegate()->setModelData(editor, table->model(), index);
    return editor;
}

void TestRyGroupDialog::rulesRoundTrip_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::newRow("none") << QStringList();
    QTest::newRow("wbs, black on white")
        << QStringList { "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255" };
    QTest::newRow("three levels") << QStringList {
        "WBS Code;To level 2;Arial:iub;r255g0b0a255;r255g255b0a255",
        "Start Date;Month;MS Shell Dlg 2:;r0g0b0a255;",
        "Activity Type;;Serif:u;r1g2b3a128;r10g20b30a255"
    };
}

void TestRyGroupDialog::rulesRoundTrip()
{
    QFETCH(QStringList, rules);
    m_dialog->setGroups(rules);
    QCOMPARE(m_dialog->groups(), rules);
}

void TestRyGroupDialog::setGroupsEdgeCases_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QStringList>("groups");
    QStringList eleven;
    for (int i = 0; i < 11; ++i)
        eleven << QString("Activity Type;;Arial:;r0g0b0a255;r%1g0b0a255").arg(i);
    QTest::newRow("eleven rules: ten kept") << eleven << QStringList(eleven.mid(0, 10));
    QTest::newRow("unknown column dropped")
        << QStringList { "Activity Type;;Arial:;r0g0b0a255;", "Gone;;Arial:;r0g0b0a255;",
                         "WBS Code;All;Arial:;r0g0b0a255;" }
        << QStringList { "Activity Type;;Arial:;r0g0b0a255;", "WBS Code;All;Arial:;r0g0b0a255;" };
    QTest::newRow("short rule takes its level's format")
        << QStringList { "WBS Code" } << QStringList { "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;" };
}

void TestRyGroupDialog::setGroupsEdgeCases()
{
    QFETCH(QStringList, rules);
    QFETCH(QStringList, groups);
    m_dialog->setGroups(rules);
    QCOMPARE(m_dialog->groups(), groups);
}

void TestRyGroupDialog::unformattedRowsAreBlackOnBase()
{
    RyLevelStyle yellow = RyLevelStyle::defaultStyle();
    yellow.background = QBrush(Qt::yellow);
    m_dialog->setLevelStyles({ yellow });
    m_dialog->setGroups({ "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255" });
    QTableWidget *table = m_dialog->table();
    QCOMPARE(table->rowCount(), 10);
    QCOMPARE(table->item(0, 0)->text(), QString("WBS Code"));
    QCOMPARE(table->item(0, 2)->text(), QString("MS Shell Dlg 2"));
    QVERIFY(table->item(0, 2)->font().bold());
    QCOMPARE(table->item(0, 2)->background().color(), QColor(Qt::white));
    QCOMPARE(table->item(0, 2)->foreground().color(), QColor(Qt::black));
    for (int row = 1; row < 10; ++row) {
        QCOMPARE(table->item(row, 2)->foreground().color(), QColor(Qt::black));
        QCOMPARE(table->item(row, 2)->background().style(), Qt::NoBrush);
    }
}

void TestRyGroupDialog::groupByChoices_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("rule");
    QTest::newRow("structured column: All") << "WBS Code"
                                            << "All";
    QTest::newRow("plain column: cleared") << "Activity Name"
                                           << "";
    QTest::newRow("date column: cleared") << "Start Date"
                                          << "";
}

void TestRyGroupDialog::groupByChoices()
{
    QFETCH(QString, choice);
    QFETCH(QString, rule);
    m_dialog->setGroups({ "Finish Date;Week" });
    std::unique_ptr<QWidget> editor(edit(0, 0, choice));
    auto *combo = qobject_cast<QComboBox *>(editor.get());
    QVERIFY(combo);
    QStringList offered;
    for (int i = 0; i < combo->count(); ++i)
        offered << combo->itemText(i);
    QCOMPARE(offered,
             QStringList({ "", "Activity Name", "Activity Type", "Finish Date", "Start Date",
                           "WBS Code", "WBS Name" }));
    QCOMPARE(m_dialog->table()->item(0, 0)->text(), choice);
    QCOMPARE(m_dialog->table()->item(0, 1)->text(), rule);
}

void TestRyGroupDialog::ruleEditorFollowsColumnKind_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("date") << "Start Date"
                          << QStringList { "No Rule", "Year", "Quarter", "Month", "Week", "Day" };
    QTest::newRow("structured") << "WBS Name" << RyGroupDialogDelegate::structureRules();
    QTest::newRow("plain") << "Activity Name" << QStringList();
    QTest::newRow("unknown") << "Gone" << QStringList();
}

void TestRyGroupDialog::ruleEditorFollowsColumnKind()
{
    QFETCH(QString, column);
    QFETCH(QStringList, options);
    QCOMPARE(RyGroupDialogDelegate::structureRules().size(), 11);
    QCOMPARE(RyGroupDialogDelegate::structureRules().last(), QString("To level 10"));
    m_dialog->table()->item(0, 0)->setText(column);
    m_dialog->table()->item(0, 1)->setText("kept");
    std::unique_ptr<QWidget> editor(edit(0, 1, options.value(2)));
    auto *combo = qobject_cast<QComboBox *>(editor.get());
    QCOMPARE(bool(combo), !options.isEmpty());
    if (!combo) {
        QCOMPARE(m_dialog->table()->item(0, 1)->text(), QString("kept"));
        return;
    }
    QStringList offered;
    for (int i = 0; i < combo->count(); ++i)
        offered << combo->itemText(i);
    QCOMPARE(offered, options);
    QCOMPARE(m_dialog->table()->item(0, 1)->text(), options.at(2));
}

void TestRyGroupDialog::formatEditor_data()
{
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("rule");
    QTest::newRow("yellow") << QColor(Qt::yellow)
                            << "WBS Code;All;DejaVu Sans:i;r255g0b0a255;r255g255b0a255";
    QTest::newRow("no colour takes the background away")
        << QColor() << "WBS Code;All;DejaVu Sans:i;r255g0b0a255;";
}

void TestRyGroupDialog::formatEditor()
{
    QFETCH(QColor, background);
    QFETCH(QString, rule);
    m_dialog->setGroups({ "WBS Code;All;Arial:;r0g0b0a255;r0g0b255a255" });
    QTableWidget *table = m_dialog->table();
    const QModelIndex index = table->model()->index(0, RyGroupDialog::FormatColumn);
    std::unique_ptr<QWidget> editor(
        m_dialog->delegate()->createEditor(table->viewport(), {}, index));
    auto *style = qobject_cast<RyStyleCombo *>(editor.get());
    QVERIFY(style);
    m_dialog->delegate()->setEditorData(style, index);
    QCOMPARE(style->backgroundColor(), QColor(Qt::blue));
    QFont font("DejaVu Sans");
    font.setItalic(true);
    style->setStyleFont(font);
    style->setTextColor(Qt::red);
    style->setBackgroundColor(background);
    QSignalSpy commit(m_dialog->delegate(), &QAbstractItemDelegate::commitData);
    QSignalSpy close(m_dialog->delegate(), &QAbstractItemDelegate::closeEditor);
    connect(m_dialog->delegate(), &QAbstractItemDelegate::commitData, this,
            [this, table, index](QWidget *editor) {
                m_dialog->delegate()->setModelData(editor, table->model(), index);
            });
    emit style->accepted();
    QCOMPARE(commit.count(), 1);
    QCOMPARE(close.count(), 1);
    QCOMPARE(m_dialog->groups(), QStringList { rule });
    QCOMPARE(table->item(0, 2)->text(), QString("DejaVu Sans"));
}

QTEST_MAIN(TestRyGroupDialog)
#include "tst_rygroupdialog.moc"
