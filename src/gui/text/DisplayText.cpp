#include "gui/text/DisplayText.h"

#include <QTextDocument>

namespace tidvale::gui {

QString displayText(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped()
        + QStringLiteral("</p>");
}

} // namespace tidvale::gui

namespace tidvale::gui {

QString withNotices(const QString& status, const std::vector<std::string>& notices)
{
    QString text = status;
    for (const auto& notice : notices)
        text += (text.isEmpty() ? QString() : QStringLiteral(" · ")) + QStringLiteral("⚠️ ")
            + displayText(notice);
    return text;
}

} // namespace tidvale::gui
