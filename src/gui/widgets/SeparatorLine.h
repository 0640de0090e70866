#pragma once

class QFrame;
class QWidget;

namespace tidvale::gui {

// A one-pixel horizontal rule in the separator colour of `colourSource`'s palette.
QFrame* makeSeparatorLine(const QWidget* colourSource);

} // namespace tidvale::gui
