#pragma once

#include "VXLMedia.h"

// The front and rear recording of one moment; either may be missing.
struct VXLMediaPair
{
    VXLMediaPtr frontMedia;
    VXLMediaPtr rearMedia;

    static std::shared_ptr<VXLMediaPair> mediaPair() { return std::make_shared<VXLMediaPair>(); }
};

using VXLMediaPairPtr = std::shared_ptr<VXLMediaPair>;
