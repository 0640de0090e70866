#include "gui/widgets/ByteTexts.h"

#include "engine/format/ByteText.h"

namespace tidvale::gui {

QString fileBytesText(int64_t bytes)
{
    return displayText(formatFileBytes(bytes));
}

QString junkBytesText(int64_t bytes)
{
    return displayText(formatJunkBytes(bytes));
}

QString memoryBytesText(uint64_t bytes)
{
    return displayText(formatMemoryBytes(bytes));
}

QString displayText(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace tidvale::gui
