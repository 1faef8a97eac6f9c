#include "ErrorReport.h"

#include "Basic.h"
#include "EngineErrors.h"

QString ErrorReportText(const RuntimeError& error)
{
    return QStringLiteral("エラー番号 ") + Basic::Str(error.number()) + error.source() +
           QStringLiteral(" でエラーが発生しました。 ") + QLatin1Char('\r') + error.description();
}

void ReportError(const RuntimeError& error, int icon)
{
    if (icon == IconByError)
        icon = EngineError::IsEngineNumber(error.number()) ? Mb::Critical : 0;
    MsgBox(ErrorReportText(error), Mb::OKOnly + icon + Mb::HelpButton, QStringLiteral("エラー"));
}
