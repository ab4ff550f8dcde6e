#include "vrelLink.h"

void SetParameter(TVrelStringList<> &list, const QString &name, const QString &value)
{
    const qsizetype index = list.IndexOfName(name);
    if (value.isEmpty()) {
        if (index >= 0)
            list.Delete(index);
        return;
    }
    const QString text = name + u'=' + value;
    if (index >= 0)
        list.SetStrings(index, text);
    else
        list.Add(text);
}
