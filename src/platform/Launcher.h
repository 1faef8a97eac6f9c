#pragma once

#include <QString>

// Starts another program as a separate process without waiting for it.
// Raises the "file not found" run-time error when it cannot be started.
void StartProgram(const QString& path);
