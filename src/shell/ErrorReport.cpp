#include "ErrorReport.h"

#include "Basic.h"
#include "MsgBox.h"

QString ErrorReportText(const RuntimeError& error)
{
    return QStringLiteral("エラー番号 ") + Basic::Str(error.number()) + error.source() +
           QStringLiteral(" でエラーが発生しました。 ") + QLatin1Char('\r') + error.description();
}

void ReportError(const RuntimeError& error)
{
    MsgBox(ErrorReportText(error), Mb::OKOnly, QStringLiteral("エラー"));
}
