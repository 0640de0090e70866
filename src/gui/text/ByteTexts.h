#pragma once

#include <QString>

#include <cstdint>

namespace tidvale::gui {

// The engine's byte texts as QStrings (engine/format/ByteText.h holds the rules).
QString fileBytesText(int64_t bytes);    // general form: every screen but these below
QString junkBytesText(int64_t bytes);    // Smart Scan, System Junk, Privacy
QString memoryBytesText(uint64_t bytes); // Memory

} // namespace tidvale::gui
