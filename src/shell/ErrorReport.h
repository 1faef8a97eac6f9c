#pragma once

#include "RuntimeError.h"

#include <QString>
#include <exception>
#include <new>

// The one message with which every event reports a run-time error.
QString ErrorReportText(const RuntimeError& error);
void ReportError(const RuntimeError& error);

// Runs an event handler's body; a run-time error ends it with the standard
// error report, and the window stays open. Returns false after an error.
template <typename Body>
bool Guarded(Body&& body)
{
    try {
        body();
        return true;
    } catch (const RuntimeError& error) {
        ReportError(error);
    } catch (const std::bad_alloc&) {
        ReportError(RuntimeError(ErrorNumber::OutOfMemory, QStringLiteral("Vantor"), QStringLiteral("メモリが不足しています。")));
    } catch (const std::exception& error) {
        ReportError(RuntimeError(0, QStringLiteral("Vantor"), QString::fromLocal8Bit(error.what())));
    }
    return false;
}
