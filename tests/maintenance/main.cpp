#include "SensyuFormTest.h"
#include "SensyuPrintTest.h"
#include "TestSupport.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    SensyuFormTest sensyuForm;
    SensyuPrintTest sensyuPrint;
    return RunTestObjects(argc, argv, {&sensyuForm, &sensyuPrint});
}
