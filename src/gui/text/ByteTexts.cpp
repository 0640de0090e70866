#include "gui/text/ByteTexts.h"

#include "engine/format/ByteText.h"
#include "gui/text/DisplayText.h"

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

} // namespace tidvale::gui
