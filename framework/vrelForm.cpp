#include "vrelForm.h"

#include "vrelErrors.h"

TLinkMenuItem *TLinkMenuItems::Add()
{
    FItems.push_back(std::unique_ptr<TLinkMenuItem>(new TLinkMenuItem(this)));
    return FItems.back().get();
}

TLinkMenuItem *TLinkMenuItems::Items(qsizetype index) const
{
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    return FItems[size_t(index)].get();
}
