#pragma once

#include <QString>

class QWidget;

namespace mirovax {

// A caption as a screen reader names a control by it: without the mnemonic
// "&" and without a closing colon ("&Flight number:" gives "Flight number").
QString AccessibleCaption(const QString& caption);

// Gives every control in the window that has no accessible name yet the one
// a sighted user reads: a button's caption (its hint when it shows only a
// picture), a field's or list's the caption of the label that is its buddy.
// Its description becomes its hint. Windows call this once their controls
// exist; a name or description set before is kept.
void NameControlsForAccessibility(QWidget* window);

} // namespace mirovax
