#include "CZoltSDFrameHandler.h"

#include "AppName.h"

CZoltSDFrameHandler::CZoltSDFrameHandler()
    : CZoltSDFrame(nullptr, wxID_ANY, g_strAppName, wxPoint(10, 10))
{
}
