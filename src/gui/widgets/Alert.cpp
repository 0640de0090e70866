#include "gui/widgets/Alert.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

namespace tidvale::gui {
namespace {

// QMessageBox names its details button in English and offers no way to rename it;
// its texts are looked up through the translators, so one answers for those two.
class AlertTexts final : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "QMessageBox") != 0)
            return {};
        if (qstrcmp(source, "Show Details...") == 0)
            return QStringLiteral("Mostrar detalles");
        if (qstrcmp(source, "Hide Details...") == 0)
            return QStringLiteral("Ocultar detalles");
        return {};
    }
    bool isEmpty() const override { return false; }
};

void installAlertTexts()
{
    static AlertTexts* texts = [] {
        auto* t = new AlertTexts;
        QCoreApplication::installTranslator(t);
        return t;
    }();
    Q_UNUSED(texts);
}

AlertAnswerer*& currentAnswerer()
{
    static AlertAnswerer* answerer = nullptr;
    return answerer;
}

} // namespace

AlertAnswerer::AlertAnswerer(int answer)
    : answer(answer)
    , previous_(currentAnswerer())
{
    currentAnswerer() = this;
}

AlertAnswerer::~AlertAnswerer()
{
    currentAnswerer() = previous_;
}

void showAlert(QWidget* screen, const AlertRequest& alert, std::function<void(int)> completion)
{
    if (!screen || !screen->isVisible())
        return;
    QPointer<QWidget> guard(screen);
    auto finish = [guard, completion = std::move(completion)](int answer) {
        if (guard && completion)
            completion(answer);
    };

    if (AlertAnswerer* answerer = currentAnswerer()) {
        answerer->shown.push_back(alert);
        QTimer::singleShot(0, screen, [finish, answer = answerer->answer] { finish(answer); });
        return;
    }

    installAlertTexts();
    auto* box = new QMessageBox(screen->window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setWindowTitle(screen->window()->windowTitle());
    box->setIcon(
        alert.style == AlertStyle::warning ? QMessageBox::Warning : QMessageBox::Information);
    box->setText(alert.message);
    box->setInformativeText(alert.informativeText);
    if (!alert.detailedText.isEmpty())
        box->setDetailedText(alert.detailedText);
    box->setTextFormat(Qt::PlainText);
    // QMessageBox sizes itself to the shortest text and wraps a one-sentence
    // explanation into a narrow column; give the texts room for a readable line.
    // The message is the alert's headline, bold as on every desktop's alerts.
    // Both texts carry file and application names, so both are plain text: Qt 6.4's
    // setTextFormat reaches only the message, and the explanation would otherwise
    // render a name such as "<b>x</b>" or "<img src=...>" as markup.
    for (QLabel* label : box->findChildren<QLabel*>()) {
        const bool message = label->objectName() == QLatin1String("qt_msgbox_label");
        if (message || label->objectName() == QLatin1String("qt_msgbox_informativelabel")) {
            label->setTextFormat(Qt::PlainText);
            label->setMinimumWidth(320);
        }
        if (message) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
    }
    // Roles put the confirming button where each desktop expects it; the index
    // reported is the position in `alert.buttons`, whatever the layout.
    std::vector<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < alert.buttons.size(); ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole
            : i == 1             ? QMessageBox::RejectRole
                                 : QMessageBox::ActionRole;
        buttons.push_back(box->addButton(alert.buttons[i], role));
    }
    if (alert.deletesPermanently && buttons.size() >= 2)
        box->setDefaultButton(static_cast<QPushButton*>(buttons[1]));
    else if (!buttons.empty())
        box->setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    if (buttons.size() >= 2)
        box->setEscapeButton(buttons[1]);
    QObject::connect(box, &QMessageBox::finished, screen, [screen, box, buttons, finish](int) {
        // The keyboard goes back to the window, to the control that had it before,
        // also where no window manager hands the focus back.
        screen->window()->activateWindow();
        int answer = -1;
        for (size_t i = 0; i < buttons.size(); ++i)
            if (box->clickedButton() == buttons[i])
                answer = static_cast<int>(i);
        finish(answer);
    });
    box->open();
}

} // namespace tidvale::gui
