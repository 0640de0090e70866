#include "gui/tools/CleanerLayout.h"
#include "gui/tools/privacy/PrivacyModel.h"
#include "gui/tools/systemjunk/SystemJunkModel.h"
#include "gui/tools/xcode/XcodeCleanModel.h"
#include "gui/style/Colors.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QColor>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace tidvale;
using namespace tidvale::gui;

class CleanerModelsTest : public QObject {
    Q_OBJECT
private slots:
    void junkRowsShowAdminMarkCategoryAndSize();
    void tickChangesOnlyTheModelsCopy();
    void privacyRowsShowBrowserAndFile();
    void xcodeRowsTickAndColourBySize();
    void hugeListsAreNeverMeasuredRowByRow();
};

static QColor rgb(SystemColor c)
{
    const Rgb v = rgbOf(c);
    return QColor(v.r, v.g, v.b);
}

void CleanerModelsTest::junkRowsShowAdminMarkCategoryAndSize()
{
    SystemJunkModel model;
    QAbstractItemModelTester tester(&model);
    model.setItems(
        {{"com.app", "/h/Library/Caches/com.app", 2'500'000, ScanCategory::userCache, true, false},
            {"locked", "/Library/Logs/locked", 40, ScanCategory::systemLogs, true, true},
            {"two\nlines", "/h/.Trash/two\nlines", 0, ScanCategory::trash, false, false}});
    auto cell = [&](int row, int col, int role = Qt::DisplayRole) {
        return model.data(model.index(row, col), role);
    };
    QCOMPARE(cell(1, SystemJunkModel::name).toString(), "🔒 locked");
    QVERIFY(cell(0, SystemJunkModel::name, Qt::ForegroundRole).value<QColor>()
        != cell(1, SystemJunkModel::name, Qt::ForegroundRole).value<QColor>());
    QCOMPARE(cell(0, SystemJunkModel::size).toString(), "2,5 MB");
    QCOMPARE(cell(1, SystemJunkModel::size).toString(), "1 KB"); // junk form: never bytes
    QVERIFY(!cell(2, SystemJunkModel::name).toString().contains('\n'));
    QCOMPARE(
        cell(2, SystemJunkModel::check, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
}

void CleanerModelsTest::tickChangesOnlyTheModelsCopy()
{
    const std::vector<ScanItem> scanned{
        {"a", "/a", 10, ScanCategory::userLogs, true, false},
        {"b", "/b", 20, ScanCategory::userLogs, true, false},
    };
    SystemJunkModel model;
    QAbstractItemModelTester tester(&model);
    model.setItems(scanned);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(changed.count(), 1);
    QVERIFY(!model.items()[1].isSelected);
    QVERIFY(scanned[1].isSelected);
    // Only the tick column and the tick role take edits.
    QVERIFY(!model.setData(model.index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
    QVERIFY(!model.setData(model.index(0, 0), Qt::Unchecked, Qt::DisplayRole));
    QVERIFY(model.items()[0].isSelected);
}

void CleanerModelsTest::privacyRowsShowBrowserAndFile()
{
    PrivacyModel model;
    QAbstractItemModelTester tester(&model);
    model.setItems({{"Historial · History.db", "/h/Library/Safari/History.db", 4096,
        ScanCategory::browserSafari, false, false}});
    QCOMPARE(model.data(model.index(0, PrivacyModel::browser)).toString(), "Safari");
    QCOMPARE(model.data(model.index(0, PrivacyModel::type)).toString(), "Historial · History.db");
}

void CleanerModelsTest::xcodeRowsTickAndColourBySize()
{
    XcodeCleanModel model;
    QAbstractItemModelTester tester(&model);
    model.setItems({{"DerivedData", "/d", 0, "x", false, true, true},
        {"Archives", "/a", 0, "y", true, false, false},
        {"Previews", "/p", 300, "z", false, true, true},
        {"b", "/b", 100'000'001, "", false, true, true},
        {"c", "/c", 500'000'001, "", false, true, true}});
    // Missing: selected in the record but shown unticked, and the tick is disabled.
    const QModelIndex missing = model.index(1, XcodeCleanModel::check);
    QCOMPARE(model.data(missing, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    QVERIFY(!(model.flags(missing) & Qt::ItemIsEnabled));
    QVERIFY(!model.setData(missing, Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!model.anyCleanable());

    auto colour = [&](int row) {
        return model.data(model.index(row, XcodeCleanModel::size), Qt::ForegroundRole)
            .value<QColor>();
    };
    QCOMPARE(colour(2), labelColor());
    QCOMPARE(colour(3), rgb(SystemColor::orange));
    QCOMPARE(colour(4), rgb(SystemColor::red));
}

// Counts reads: filling and scrolling a long list must read only the rows on screen.
class CountingJunkModel : public SystemJunkModel {
public:
    using SystemJunkModel::SystemJunkModel;
    mutable int reads = 0;
    QVariant data(const QModelIndex& index, int role) const override
    {
        ++reads;
        return SystemJunkModel::data(index, role);
    }
};

void CleanerModelsTest::hugeListsAreNeverMeasuredRowByRow()
{
    std::vector<ScanItem> many;
    for (int i = 0; i < 100'000; ++i)
        many.push_back({"item" + std::to_string(i), "/c/" + std::to_string(i), i,
            ScanCategory::userCache, true, false});
    CountingJunkModel model;
    QTableView* view = makeCleanerList(&model, 44, {30, 220, 140, 90}, SystemJunkModel::name);
    view->resize(600, 400);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    model.setItems(std::move(many));
    view->scrollToBottom();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    QCoreApplication::processEvents();
    view->viewport()->repaint();
    QVERIFY(view->rowAt(view->viewport()->height() - 1) >= 0); // the view did paint rows
    QVERIFY2(model.reads > 0 && model.reads < 20'000, qPrintable(QString::number(model.reads)));
    delete view;
}

QTEST_MAIN(CleanerModelsTest)
#include "cleaner_models_test.moc"
