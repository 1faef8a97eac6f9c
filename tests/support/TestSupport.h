#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class QWidget;

// A fresh program folder with its own database for one test, and the
// message-box script switched on. Shared variables start from their reset
// values with the folder set.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    const QString& folder() const { return folder_; }
    QString file(const QString& name) const { return folder_ + name; }

private:
    QTemporaryDir dir_;
    QString folder_;
};

// Finds a named child of a window, failing the test when it is missing.
template <typename T>
T* child(QWidget* window, const QString& name);

#include <QTest>
#include <QWidget>

template <typename T>
T* child(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qWarning("control %s not found", qPrintable(name));
    return found;
}
