#pragma once

#include "MsgBox.h"
#include "RuntimeError.h"

#include <QString>
#include <exception>
#include <new>

// The one message with which every event reports a run-time error.
QString ErrorReportText(const RuntimeError& error);
// The report's icon follows the error: errors of the database engine (table
// operations) carry the critical icon, the others none.
constexpr int IconByError = -1;
// Shows the report with its help button, with the icon given (Mb::Critical,
// 0 for none) or chosen by the error.
void ReportError(const RuntimeError& error, int icon = IconByError);

// Runs an event handler's body; a run-time error ends it with the standard
// error report, and the window stays open. Returns false after an error.
template <typename Body>
bool Guarded(Body&& body, int icon = IconByError)
{
    try {
        body();
        return true;
    } catch (const RuntimeError& error) {
        ReportError(error, icon);
    } catch (const std::bad_alloc&) {
        ReportError(RuntimeError(ErrorNumber::OutOfMemory, QStringLiteral("Vantor"), QStringLiteral("メモリが不足しています。")), icon);
    } catch (const std::exception&) {
        // The library's own text is not for the user.
        ReportError(RuntimeError(ErrorNumber::Internal, QStringLiteral("Vantor"), QStringLiteral("内部エラーです。")), icon);
    }
    return false;
}
