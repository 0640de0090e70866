// The shared controls: alerts, background work, the filled button and the symbols.
#include "gui/jobs/Background.h"
#include "gui/style/Symbols.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QThreadPool>

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

// The colours of the non-transparent pixels of an image.
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
        QCOMPARE(box->informativeText(), QStringLiteral("Se eliminarán 2 elementos."));
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("Limpiar"));
        QVERIFY(answers.empty()); // returns before the user answers
        QTest::mouseClick(buttonTitled(box, press), Qt::LeftButton);
        QTRY_COMPARE(answers, std::vector<int>{answer});
    }

    void alertShowsNothingForAScreenNotOnScreen()
    {
        QWidget window;
        auto* screen = new QWidget(&window);
        bool called = false;
        showAlert(screen, confirmRequest(), [&](int) { called = true; }); // window never shown
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        screen->hide();
        showAlert(screen, confirmRequest(), [&](int) { called = true; });
        showAlert(nullptr, confirmRequest(), [&](int) { called = true; });
        QCoreApplication::processEvents();
        QVERIFY(window.findChild<QMessageBox*>() == nullptr);
        QVERIFY(!called);
    }

    void alertAnswerDroppedWhenTheScreenIsGone()
    {
        ShownWindow w;
        bool called = false;
        showAlert(w.screen, confirmRequest(), [&](int) { called = true; });
        auto* box = w.window.findChild<QMessageBox*>();
        QVERIFY(box);
        delete w.screen;
        QTest::mouseClick(buttonTitled(box, QStringLiteral("Limpiar")), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!called);
    }

    void answererRecordsAndAnswersLater()
    {
        QWidget screen;
        screen.show();
        AlertAnswerer answerer(1);
        int answer = -5;
        AlertRequest request = confirmRequest();
        request.style = AlertStyle::informational;
        showAlert(&screen, request, [&](int a) { answer = a; });
        QCOMPARE(answer, -5); // never inside showAlert, as with a real sheet
        QCOMPARE(answerer.shown.at(0).style, AlertStyle::informational);
        QTRY_COMPARE(answer, 1);
        QVERIFY(screen.findChild<QMessageBox*>() == nullptr);
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

    void primaryButtonFadesItsFillWhenDisabled()
    {
        const QColor red(255, 59, 48);
        PrimaryButton button(QStringLiteral("Mover a Papelera"), red);
        button.setEnabled(false);
        QVERIFY(button.currentFill().alphaF() < 1);
        button.setEnabled(true);
        QCOMPARE(button.currentFill().rgba(), red.rgba());
    }

    void everySymbolDrawsATintedGlyph()
    {
        const QStringList used
            = {"magnifyingglass", "magnifyingglass.circle.fill", "bolt.shield.fill", "trash",
                "trash.fill", "lock.shield.fill", "app.fill", "puzzlepiece.fill", "memorychip.fill",
                "externaldrive.fill", "internaldrive", "internaldrive.fill", "doc.zipper",
                "doc.on.doc", "doc.on.doc.fill", "doc.text", "doc.text.fill", "hammer.fill",
                "arrow.down.circle.fill", "arrow.up.right.square", "server.rack", "safari", "globe",
                "globe.badge.chevron.backward", "flame", "folder", "info.circle", "play.circle"};
        const QColor tint(0, 122, 255);
        QSet<QByteArray> distinct;
        for (const QString& name : used) {
            QVERIFY2(knownSymbols().contains(name), qPrintable(name));
            const QImage image = symbolPixmap(name, 32, tint).toImage();
            const QSet<QRgb> ink = inkColours(image);
            QVERIFY2(!ink.isEmpty(), qPrintable(name + " is blank"));
            if (!name.endsWith(".circle.fill")) // those cut the glyph out in white
                QVERIFY2(ink == QSet<QRgb>{tint.rgb()}, qPrintable(name + " is not tinted"));
            distinct.insert(
                QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        }
        // Related names may share a picture; the tools' own icons must differ.
        QVERIFY(distinct.size() >= 20);
        QVERIFY(!inkColours(symbolPixmap("no.such.symbol", 16, tint).toImage()).isEmpty());
        QVERIFY(!inkColours(symbolIcon("folder", tint).pixmap(64, 64).toImage()).isEmpty());
    }

    void themeArtworkUsedWhenInstalled()
    {
        if (!symbolUsesThemeArtwork(QStringLiteral("folder")))
            QSKIP("the Breeze icon theme is not installed");
        for (const char* name : {"trash", "globe", "safari", "server.rack", "info.circle"})
            QVERIFY2(symbolUsesThemeArtwork(QString::fromLatin1(name)), name);
    }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
