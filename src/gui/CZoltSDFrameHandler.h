#pragma once

#include "CZoltSDFrame.h"

// The editor's main window: the layout with the editing logic on top.
class CZoltSDFrameHandler : public CZoltSDFrame
{
public:
    CZoltSDFrameHandler();
};
