// Small menu definitions for tests: entries are added with a caption and a
// child count, further properties are set on the returned entry, and the
// definition can be written as a plain or compressed menu file.
#pragma once

#include "vrelMenu.h"

inline TMenuCollectionItem &addEntry(TMenuCollection &items, const QString &caption, int count = 0,
                                     int permission = 65535)
{
    TMenuCollectionItem *item = items.Add();
    item->SetCaption(caption);
    item->SetCount(count);
    item->SetPermission(permission);
    return *item;
}

inline void writeMenuFile(TMenuCollection &items, const QString &fileName, TSaveMode mode = smText)
{
    items.SetSaveMode(mode);
    items.SaveToFile(fileName);
}
