// TEMPORARY until the hash list unit lands on main: the 16-bit mask routines.
// Replaced by #include "vrelHash.h".
#pragma once
#include "vrelErrors.h"
#include <QtGlobal>
inline void SetBit(quint16 &AMask, int ABit)
{
    if (ABit < 0 || ABit > 15)
        throw ERangeError();
    AMask = quint16(AMask | (1u << ABit));
}
inline void ClearBit(quint16 &AMask, int ABit)
{
    if (ABit >= 0 && ABit <= 15)
        AMask = quint16(AMask & ~(1u << ABit));
}
inline bool TestBit(quint16 AMask, int ABit)
{
    return ABit >= 0 && ABit <= 15 && (AMask & (1u << ABit));
}
