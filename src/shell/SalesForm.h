#pragma once

#include <QMainWindow>

class QLabel;
class QTimer;

// The author's window: what else the author makes and where to find it, with
// a small running picture strip.
class SalesForm : public QMainWindow {
    Q_OBJECT
public:
    explicit SalesForm(QWidget* parent = nullptr);

private:
    QLabel* Strip;
    QTimer* Timer1;
    int offset_ = 0;
};
