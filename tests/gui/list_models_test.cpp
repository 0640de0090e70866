// The list models: the shared record table (ticks, flags, removal) and the columns of
// the junk and Xcode lists, and a huge list that fills and scrolls without reading
// every row.
#include "gui/style/Colors.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/privacy/PrivacyModel.h"
#include "gui/tools/systemjunk/SystemJunkModel.h"
#include "gui/tools/xcode/XcodeCleanModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

ScanItem junk(const std::string& name, int64_t size = 10, bool admin = false)
{
    return {name, "/c/" + name, size, ScanCategory::userCache, true, admin};
}

QStringList names(const ScanItemModel& model)
{
    QStringList out;
    for (const auto& item : model.items())
        out << QString::fromStdString(item.name);
    return out;
}

} // namespace

class ListModelsTest : public QObject {
    Q_OBJECT
private slots:
    void junkRowsShowAdminMarkCategoryAndSize()
    {
        SystemJunkModel model;
        QAbstractItemModelTester tester(&model);
        model.setItems(
            {junk("com.app", 2'500'000), junk("locked", 40, true), junk("two\nlines", 0)});
        model.setTicked(2, false);
        auto cell = [&](int row, int col, int role = Qt::DisplayRole) {
            return model.index(row, col).data(role);
        };
        QCOMPARE(cell(1, SystemJunkModel::name).toString(), "🔒 locked");
        QCOMPARE(cell(1, SystemJunkModel::name, Qt::ForegroundRole).value<QColor>(),
            systemColor(SystemColor::orange));
        QCOMPARE(cell(0, SystemJunkModel::name, Qt::ForegroundRole).value<QColor>(), labelColor());
        QCOMPARE(cell(0, SystemJunkModel::size).toString(), "2,5 MB");
        QCOMPARE(cell(1, SystemJunkModel::size).toString(), "1 KB"); // junk form: never bytes
        QVERIFY(!cell(2, SystemJunkModel::name).toString().contains('\n'));
        QCOMPARE(cell(2, SystemJunkModel::check, Qt::CheckStateRole).value<Qt::CheckState>(),
            Qt::Unchecked);
        QCOMPARE(model.headerData(SystemJunkModel::category, Qt::Horizontal, Qt::DisplayRole),
            QVariant("Categoría"));

        PrivacyModel privacy;
        privacy.setItems({{"Historial · History.db", "/h/History.db", 4096,
            ScanCategory::browserSafari, false, false}});
        QCOMPARE(privacy.index(0, PrivacyModel::browser).data().toString(), "Safari");
        QCOMPARE(privacy.index(0, PrivacyModel::type).data().toString(), "Historial · History.db");
    }

    // A tick changes only the model's copy, only through the tick column and role, and
    // only a user's tick is announced.
    void ticksAreTheModelsOwn()
    {
        const std::vector<ScanItem> scanned{junk("a"), junk("b")};
        SystemJunkModel model;
        QAbstractItemModelTester tester(&model);
        model.setItems(scanned);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy ticked(&model, &SystemJunkModel::ticked);
        QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(ticked.count(), 1);
        QVERIFY(!model.items()[1].isSelected);
        QVERIFY(scanned[1].isSelected);
        QVERIFY(!model.setData(model.index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(0, 0), Qt::Unchecked, Qt::DisplayRole));
        QVERIFY(model.items()[0].isSelected);
        model.setTicked(0, false); // the screen's own tick: shown, not announced
        QCOMPARE(changed.count(), 2);
        QCOMPARE(ticked.count(), 1);
        QVERIFY(model.index(0, 0).flags() & Qt::ItemIsUserCheckable);
        QVERIFY(!(model.index(0, 1).flags() & Qt::ItemIsUserCheckable));
    }

    // Rows leave one run at a time, so the rows that stay keep their selection; very many
    // scattered rows go in one reset. Either way the others keep their order.
    void removalKeepsTheOrderAndTheSelectionOfTheRest()
    {
        SystemJunkModel model;
        QAbstractItemModelTester tester(&model);
        QTableView view;
        view.setModel(&model);
        model.setItems({junk("a"), junk("b"), junk("c"), junk("d"), junk("e")});
        view.selectionModel()->select(model.index(3, 0), QItemSelectionModel::Select);
        QCOMPARE(
            model.removeIf([](const ScanItem& i) { return i.name == "b" || i.name == "c"; }), 2);
        QCOMPARE(names(model), (QStringList{"a", "d", "e"}));
        QCOMPARE(view.selectionModel()->selectedIndexes().value(0).row(), 1);

        std::vector<ScanItem> many;
        for (int i = 0; i < 200; ++i)
            many.push_back(junk(std::to_string(i)));
        model.setItems(many);
        QCOMPARE(model.removeIf([](const ScanItem& i) { return std::stoi(i.name) % 2 == 1; }), 100);
        QCOMPARE(model.rowCount(), 100);
        QCOMPARE(names(model).mid(0, 3), (QStringList{"0", "2", "4"}));
    }

    void xcodeRowsTickAndColourBySize()
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
        QCOMPARE(missing.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QVERIFY(!(missing.flags() & Qt::ItemIsEnabled));
        QVERIFY(!model.setData(missing, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.anyCleanable());
        auto colour = [&](int row) {
            return model.index(row, XcodeCleanModel::size).data(Qt::ForegroundRole).value<QColor>();
        };
        QCOMPARE(colour(2), labelColor());
        QCOMPARE(colour(3), systemColor(SystemColor::orange));
        QCOMPARE(colour(4), systemColor(SystemColor::red));
    }

    // Filling and scrolling a long list must read only the rows on screen.
    void hugeListsAreNeverMeasuredRowByRow()
    {
        struct CountingModel : SystemJunkModel {
            mutable int reads = 0;
            QVariant data(const QModelIndex& index, int role) const override
            {
                ++reads;
                return SystemJunkModel::data(index, role);
            }
        } model;
        std::vector<ScanItem> many;
        for (int i = 0; i < 100'000; ++i)
            many.push_back(junk("item" + std::to_string(i), i));
        std::unique_ptr<QTableView> view(
            makeTableList(&model, {44, {30, 220, 140, 90}, SystemJunkModel::name}));
        view->resize(600, 400);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        model.setItems(std::move(many));
        view->scrollToBottom();
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
        QCoreApplication::processEvents();
        view->viewport()->repaint();
        QVERIFY(view->rowAt(view->viewport()->height() - 1) >= 0); // the view did paint rows
        QVERIFY2(model.reads > 0 && model.reads < 20'000, qPrintable(QString::number(model.reads)));
    }
};

QTEST_MAIN(ListModelsTest)
#include "list_models_test.moc"
