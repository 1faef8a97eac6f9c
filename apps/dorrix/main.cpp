#include "Forms.h"
#include "ImportForm.h"
#include "MsgBox.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    MsgBoxScript::setAppTitle(QStringLiteral("Dorrix"));

    const auto instance = ClaimSingleInstance(QStringLiteral("dorrix"), QStringLiteral("ドリックスは複数起動出来ません。"));
    if (!instance)
        return 0;
    if (!PrepareProgram(QCoreApplication::applicationDirPath()))
        return 1;

    Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
    Forms::show(QStringLiteral("ImportForm"));
    return app.exec();
}
