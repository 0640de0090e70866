#pragma once

namespace tidvale {

// Lets the calling thread give way to the others of the machine, the thread that
// draws the window first: background work that keeps every core busy (hashing,
// walking) would otherwise leave the window unanswered for tens of milliseconds at a
// time. Only the calling thread changes. Best effort: where the system refuses,
// nothing happens.
void yieldToForegroundWork();

} // namespace tidvale
