// Shortcuts in their stored text form: modifier names "Shift+", "Ctrl+" and
// "Alt+" followed by a key name ("F1", "BkSp", "Tab", "Enter", "Esc", "Space",
// "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down", "Ins", "Del",
// a letter or a digit). Menu files keep an entry's HotKey in this form; the
// editor writes it, the menu builder reads it.
#pragma once

#include <QKeySequence>
#include <QString>

// The shortcut named by `text`; modifiers in any order, names without regard
// to letter case. Empty or unrecognised text gives an empty sequence.
QKeySequence TextToShortCut(QStringView text);
// The text form of the first key of `shortCut` ("Shift+Ctrl+F1"); empty text
// for an empty sequence or a key the text form has no name for.
QString ShortCutToText(const QKeySequence &shortCut);
