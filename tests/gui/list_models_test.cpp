// The list models: the shared record table (ticks, flags, removal), the junk and Xcode
// rows, and a huge list that fills and scrolls without reading every row.
#include "gui/tools/ItemLists.h"
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
    // A name is one line whatever it holds, and an item for the administrator says so.
    void junkRowsShowAdminMarkAndOneLineNames()
    {
        SystemJunkModel model;
        QAbstractItemModelTester tester(&model);
        model.setItems({junk("locked", 40, true), junk("two\nlines", 0)});
        QCOMPARE(model.index(0, SystemJunkModel::name).data().toString(), "🔒 locked");
        QVERIFY(!model.index(1, SystemJunkModel::name).data().toString().contains('\n'));
    }

    // A tick changes the row only through the tick column and role, and only a user's
    // tick is announced.
    void ticksOnlyThroughTheTickColumn()
    {
        SystemJunkModel model;
        QAbstractItemModelTester tester(&model);
        model.setItems({junk("a"), junk("b")});
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy ticked(&model, &SystemJunkModel::ticked);
        QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(ticked.count(), 1);
        QVERIFY(!model.items()[1].isSelected);
        QVERIFY(!model.setData(model.index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(0, 0), Qt::Unchecked, Qt::DisplayRole));
        QVERIFY(model.items()[0].isSelected);
        model.setTicked(0, false); // the screen's own tick: shown, not announced
        QCOMPARE(changed.count(), 2);
        QCOMPARE(ticked.count(), 1);
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

    void missingXcodeFolderCannotBeTicked()
    {
        XcodeCleanModel model;
        QAbstractItemModelTester tester(&model);
        model.setItems({{"DerivedData", "/d", 0, "x", false, true, true},
            {"Archives", "/a", 0, "y", true, false, false}});
        // Missing: selected in the record but shown unticked, and the tick is disabled.
        const QModelIndex missing = model.index(1, XcodeCleanModel::check);
        QCOMPARE(missing.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QVERIFY(!(missing.flags() & Qt::ItemIsEnabled));
        QVERIFY(!model.setData(missing, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.anyCleanable());
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
