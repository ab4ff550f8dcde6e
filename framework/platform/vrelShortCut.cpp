#include "vrelShortCut.h"

#include <array>

namespace {
struct TKeyName {
    Qt::Key Key;
    const char16_t *Name;
};

constexpr std::array<TKeyName, 15> kNamedKeys{{
    {Qt::Key_Backspace, u"BkSp"}, {Qt::Key_Tab, u"Tab"},     {Qt::Key_Return, u"Enter"},
    {Qt::Key_Escape, u"Esc"},     {Qt::Key_Space, u"Space"}, {Qt::Key_PageUp, u"PgUp"},
    {Qt::Key_PageDown, u"PgDn"},  {Qt::Key_End, u"End"},     {Qt::Key_Home, u"Home"},
    {Qt::Key_Left, u"Left"},      {Qt::Key_Up, u"Up"},       {Qt::Key_Right, u"Right"},
    {Qt::Key_Down, u"Down"},      {Qt::Key_Insert, u"Ins"},  {Qt::Key_Delete, u"Del"},
}};

struct TModifierName {
    Qt::KeyboardModifier Modifier;
    const char16_t *Name;
};

// In the order the text form writes them.
constexpr std::array<TModifierName, 3> kModifiers{{
    {Qt::ShiftModifier, u"Shift+"},
    {Qt::ControlModifier, u"Ctrl+"},
    {Qt::AltModifier, u"Alt+"},
}};

constexpr int kFunctionKeys = 24;

QString keyName(Qt::Key key)
{
    for (const TKeyName &k : kNamedKeys)
        if (k.Key == key)
            return QString::fromUtf16(k.Name);
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys)
        return u'F' + QString::number(key - Qt::Key_F1 + 1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return QString(QChar(char16_t(key)));
    return QString();
}

Qt::Key keyOfName(QStringView name)
{
    for (const TKeyName &k : kNamedKeys)
        if (name.compare(QStringView(k.Name), Qt::CaseInsensitive) == 0)
            return k.Key;
    if (name.size() == 1) {
        const char16_t c = QChar::toUpper(name[0].unicode());
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            return Qt::Key(c);
    }
    if (name.size() >= 2 && (name[0] == u'F' || name[0] == u'f')) {
        bool ok = false;
        const int n = name.sliced(1).toInt(&ok);
        if (ok && n >= 1 && n <= kFunctionKeys && name.sliced(1) == QString::number(n))
            return Qt::Key(Qt::Key_F1 + n - 1);
    }
    return Qt::Key_unknown;
}
} // namespace

QKeySequence TextToShortCut(QStringView text)
{
    if (text.isEmpty()) // most menu entries have no hot key
        return QKeySequence();
    Qt::KeyboardModifiers modifiers;
    for (bool found = true; found;) {
        found = false;
        for (const TModifierName &m : kModifiers) {
            const QStringView name(m.Name);
            if (text.startsWith(name, Qt::CaseInsensitive)) {
                modifiers |= m.Modifier;
                text = text.sliced(name.size());
                found = true;
            }
        }
    }
    const Qt::Key key = keyOfName(text);
    if (key == Qt::Key_unknown)
        return QKeySequence();
    return QKeySequence(QKeyCombination(modifiers, key));
}

QString ShortCutToText(const QKeySequence &shortCut)
{
    if (shortCut.isEmpty())
        return QString();
    const QKeyCombination combination = shortCut[0];
    const QString name = keyName(combination.key());
    if (name.isEmpty())
        return QString();
    QString text;
    for (const TModifierName &m : kModifiers)
        if (combination.keyboardModifiers().testFlag(m.Modifier))
            text += QStringView(m.Name);
    return text + name;
}
