// The shared alert: a window-modal sheet answered by index, only on a screen in view.
#include "gui/widgets/Alert.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

AlertRequest confirmRequest()
{
    AlertRequest request;
    request.message = QStringLiteral("¿Limpiar archivos?");
    request.informativeText = QStringLiteral("Se eliminarán 2 elementos.");
    request.buttons = {QStringLiteral("Limpiar"), QStringLiteral("Cancelar")};
    return request;
}

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == title)
            return b;
    return nullptr;
}

struct ShownWindow {
    QWidget window;
    QWidget* screen = new QWidget(&window);
    ShownWindow()
    {
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

class AlertTest : public QObject {
    Q_OBJECT
private slots:
    void alertIsAWindowModalSheetAnsweredByIndex_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("confirm") << "Limpiar" << 0;
        QTest::newRow("cancel") << "Cancelar" << 1;
    }
    void alertIsAWindowModalSheetAnsweredByIndex()
    {
        QFETCH(QString, press);
        QFETCH(int, answer);
        ShownWindow w;
        std::vector<int> answers;
        showAlert(w.screen, confirmRequest(), [&](int a) { answers.push_back(a); });
        auto* box = w.window.findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("Limpiar"));
        QVERIFY(answers.empty()); // returns before the user answers
        QTest::mouseClick(buttonTitled(box, press), Qt::LeftButton);
        QTRY_COMPARE(answers, std::vector<int>{answer});
    }

    // A screen the user cannot see asks nothing, and an answer for a screen that went
    // meanwhile reaches nobody.
    void alertOnlyForAScreenOnScreen()
    {
        ShownWindow w;
        bool called = false;
        auto* hidden = new QWidget(&w.window);
        hidden->hide();
        showAlert(hidden, confirmRequest(), [&](int) { called = true; });
        showAlert(nullptr, confirmRequest(), [&](int) { called = true; });
        showAlert(w.screen, confirmRequest(), [&](int) { called = true; });
        const QList<QMessageBox*> boxes = w.window.findChildren<QMessageBox*>();
        QCOMPARE(boxes.size(), 1);
        delete w.screen;
        QTest::mouseClick(buttonTitled(boxes[0], QStringLiteral("Limpiar")), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!called);
    }
};

QTEST_MAIN(AlertTest)
#include "alert_test.moc"
