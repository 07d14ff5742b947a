#include "VLCMedia.h"

#include "library/VXLMedia.h"

VLCTime VLCMedia::length() const
{
    return m_length;
}

void VLCMedia::setLength(const VLCTime& length)
{
    m_length = length;
}

int VLCMedia::mediaDirection() const
{
    return mediaDirectionForPath(m_path);
}

bool VLCMedia::isFrontMedia() const
{
    return mediaDirection() == VXLMediaDirectionFront;
}

bool VLCMedia::isRearMedia() const
{
    return mediaDirection() == VXLMediaDirectionRear;
}
