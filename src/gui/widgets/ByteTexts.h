#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace tidvale::gui {

// The engine's byte texts as QStrings (engine/format/ByteText.h holds the rules).
QString fileBytesText(int64_t bytes);    // general form: every screen but these below
QString junkBytesText(int64_t bytes);    // Smart Scan, System Junk, Privacy
QString memoryBytesText(uint64_t bytes); // Memory

// An engine text for display. Paths from the file system may hold bytes that are not
// UTF-8: they show as replacement characters, so keep the engine's std::string for
// every operation on the file and use this only for what the user reads.
QString displayText(const std::string& text);

} // namespace tidvale::gui
