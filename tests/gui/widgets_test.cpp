// The shared controls: alerts, background work and the symbols.
#include "gui/jobs/Background.h"
#include "gui/style/Symbols.h"
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

// The colours of the opaque pixels of an image.
QSet<QRgb> inkColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                colours.insert(image.pixel(x, y) | 0xff000000);
    return colours;
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

class WidgetsTest : public QObject {
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

    void backgroundDeliversProgressInOrderThenTheResult()
    {
        QObject owner;
        QStringList events;
        runInBackground(
            &owner,
            [](const ProgressSink& progress) {
                for (int i = 1; i <= 50; ++i)
                    progress("paso " + std::to_string(i));
                return std::string("hecho \xc3\xa1");
            },
            [&](std::string result) { events << QString::fromStdString(result); },
            [&](const QString& text) {
                QVERIFY(QThread::currentThread() == qApp->thread());
                events << text;
            });
        QTRY_COMPARE(events.size(), 51);
        QStringList expected;
        for (int i = 1; i <= 50; ++i)
            expected << QStringLiteral("paso %1").arg(i);
        QCOMPARE(events, expected << QStringLiteral("hecho á"));
    }

    // No symbol the screens use is ever a blank square or drawn in another colour.
    void everySymbolDrawsATintedGlyph()
    {
        const QColor tint(0, 122, 255);
        QStringList names = knownSymbols();
        names << QStringLiteral("no.such.symbol"); // a neutral dot, never nothing
        for (const QString& name : names) {
            const QSet<QRgb> ink = inkColours(symbolPixmap(name, 32, tint).toImage());
            QVERIFY2(!ink.isEmpty(), qPrintable(name + " is blank"));
            if (!name.endsWith(".circle.fill")) // those cut the glyph out in white
                QVERIFY2(ink == QSet<QRgb>{tint.rgb()}, qPrintable(name + " is not tinted"));
        }
    }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
