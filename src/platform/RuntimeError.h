#pragma once

#include <QString>
#include <stdexcept>

// A run-time error as the event handlers report it: a number, the name of the
// part that raised it and a description. Database errors carry the engine
// numbers the windows react to (see data/EngineErrors.h).
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, QString source, QString description)
        : std::runtime_error(description.toStdString()),
          number_(number), source_(std::move(source)), description_(std::move(description)) {}

    int number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString source_;
    QString description_;
};

// Numbers of the program's own run-time errors.
namespace ErrorNumber {
constexpr int InvalidArgument = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int BadFileFormat = 321;
constexpr int PathFileAccess = 75;
constexpr int Internal = 51;
}
