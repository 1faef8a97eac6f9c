#include "MaintenanceTests.h"
#include "SensyuFormTest.h"
#include "SensyuPrintTest.h"
#include "TestSupport.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    SensyuFormTest sensyuForm;
    SensyuPrintTest sensyuPrint;
    KyoteijyoFormTest courses;
    OriginalFormTest roster;
    return RunTestObjects(argc, argv, {&sensyuForm, &sensyuPrint, &courses, &roster});
}
