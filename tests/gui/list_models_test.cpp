// The list models: the shared record table (ticks, flags, removal), the junk and Xcode
// rows, a huge list that fills and scrolls without reading every row, and the status
// line every list shows after a removal.
#include "gui/tools/ItemLists.h"
#include "gui/tools/RemovalStatusText.h"
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

    // The success line leads only when something went; failures count with the first
    // reason on one line, and what changed since the listing is named apart.
    void removalStatusLine_data()
    {
        // One letter per target: gone, failed (the first one's reason holds a line break),
        // failed with no reason, changed.
        QTest::addColumn<QString>("statuses");
        QTest::addColumn<QString>("line");
        const auto row = [](const char* name, const char* statuses, const QString& line) {
            QTest::newRow(name) << QString(statuses) << line;
        };
        const QString ok = QStringLiteral("✅ Liberado: 1 KB");
        const QString oneChanged
            = QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió");
        row("all gone", "gg", ok);
        row("one failed", "f", "❌ No se pudo mover a la Papelera: sin sitio");
        row("two failed", "ff", "❌ No se pudieron mover 2 elementos a la Papelera: sin sitio");
        row("some went", "gf", ok + " · 1 no se movió: sin sitio");
        row("some went, two failed", "gff", ok + " · 2 no se movieron: sin sitio");
        row("one changed", "c", oneChanged);
        row("went and changed", "gc", ok + " · " + oneChanged);
        row("failed and two changed", "fcc",
            "❌ No se pudo mover a la Papelera: sin sitio · ⚠️ 2 elementos cambiaron "
            "desde la búsqueda y no se movieron");
        row("no reason", "e", "❌ No se pudo mover a la Papelera: la Papelera no lo aceptó");
    }
    void removalStatusLine()
    {
        QFETCH(QString, statuses);
        QFETCH(QString, line);
        RemovalReport report;
        for (const QChar s : statuses) {
            RemovalOutcome outcome;
            outcome.status = s == 'g' ? RemovalStatus::gone
                : s == 'c'            ? RemovalStatus::changed
                                      : RemovalStatus::failed;
            if (s == 'f')
                outcome.message = report.any(RemovalStatus::failed) ? "otra" : "sin\n sitio ";
            report.add(outcome);
        }
        QCOMPARE(removalStatusText(QStringLiteral("✅ Liberado: 1 KB"), report), line);
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
