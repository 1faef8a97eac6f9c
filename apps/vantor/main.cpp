#include "BangumiForm.h"
#include "Bior2Form.h"
#include "BiorForm.h"
#include "BunsekiForm.h"
#include "DispForm.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "KyoteijyoForm.h"
#include "MainForm.h"
#include "MsgBox.h"
#include "OriginalForm.h"
#include "PeriodImport.h"
#include "ResultsDownload.h"
#include "ResultsImport.h"
#include "RirekiForm.h"
#include "SalesForm.h"
#include "SelectForm.h"
#include "SensyuForm.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    MsgBoxScript::setAppTitle(QStringLiteral("Vantor"));

    const auto instance = ClaimSingleInstance(QStringLiteral("vantor"), QStringLiteral("ヴァントールは複数起動出来ません。"));
    if (!instance)
        return 0;
    if (!PrepareProgram(QCoreApplication::applicationDirPath()))
        return 1;

    Forms::registerForm(QStringLiteral("MainForm"), [] { return new MainForm; });
    Forms::registerForm(QStringLiteral("salesf"), [] { return new SalesForm; });
    Forms::registerForm(QStringLiteral("SelectForm"), [] { return new SelectForm; });
    Forms::registerForm(QStringLiteral("DispForm"), [] { return new DispForm; });
    Forms::registerForm(QStringLiteral("BiorForm"), [] { return new BiorForm; });
    Forms::registerForm(QStringLiteral("Bior2Form"), [] { return new Bior2Form; });
    Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
    Forms::registerForm(QStringLiteral("SensyuForm"), [] { return new SensyuForm; });
    Forms::registerForm(QStringLiteral("KyoteijyoForm"), [] { return new KyoteijyoForm; });
    Forms::registerForm(QStringLiteral("OriginalForm"), [] { return new OriginalForm; });
    Forms::registerForm(QStringLiteral("BunsekiForm"), [] { return new BunsekiForm; });
    Forms::registerForm(QStringLiteral("BangumiForm"), [] { return new BangumiForm(Forms::find(QStringLiteral("SelectForm"))); });
    Forms::registerCommand(QStringLiteral("ReadResults"), ReadResultsFile);
    Forms::registerCommand(QStringLiteral("ImportPeriod"), PeriodImport::ChooseAndImportFolder);
    Forms::registerCommand(QStringLiteral("DownloadPeriod"), PeriodImport::FetchPeriod);
    Forms::registerCommand(QStringLiteral("DownloadResults"), DownloadResults);

    Forms::show(QStringLiteral("MainForm"));
    Guarded([] { TellWhenRacerTableIsEmpty(); });
    return app.exec();
}
