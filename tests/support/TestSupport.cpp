#include "TestSupport.h"

#include "GlobalModule.h"
#include "MsgBox.h"

TestFolder::TestFolder()
{
    folder_ = dir_.path() + QLatin1Char('/');
    Global().ProgramFolder = folder_;
    Global().TwipsPerPixelX = 15;
    Global().TwipsPerPixelY = 15;
    Global().reset();
    MsgBoxScript::start();
}

TestFolder::~TestFolder() { MsgBoxScript::stop(); }
