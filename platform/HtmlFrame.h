#pragma once
#include "platform/PixelImage.h"

// One drawn viewport of a page, handed from the layout thread to the view.
struct HtmlFrame
{
    PixelImage pixels;
    int scrollTop = 0;
    int contentHeight = 0;
};
