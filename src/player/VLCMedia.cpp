#include "VLCMedia.h"

VLCTime VLCMedia::length() const
{
    return m_length;
}

void VLCMedia::setLength(const VLCTime& length)
{
    m_length = length;
}
