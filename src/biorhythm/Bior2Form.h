#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;
class DetailGraph;

// One person's three rhythms over 21 days around the survey date, with date
// buttons that move the shared survey date, day lines and the day's advice.
class Bior2Form : public QMainWindow {
    Q_OBJECT
public:
    explicit Bior2Form(QWidget* parent = nullptr);

    void Set_Graph(int mode);
    void Set_LabelMsg(int32_t m23, int32_t m28, int32_t m33);
    void CommandChoYMD_Click(int index);
    void Menu_Close_Click();

    static double ColumnX(int k);

private:
    DetailGraph* PictureBior;
    std::array<std::array<QLabel*, 22>, 3> icons_{};  // ImageBody, ImageSoul, ImageIntel; 21 is the template
    QLabel* LabelNamae;
    QLabel* LabelChoHi;
    QLabel* LabelMSG;
};

// The graph area: white, with the day lines when they are on and the axes.
class DetailGraph : public QWidget {
    Q_OBJECT
public:
    explicit DetailGraph(QWidget* parent = nullptr);
    void setDayLines(bool on) { dayLines_ = on; update(); }
    bool dayLines() const { return dayLines_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool dayLines_ = false;
};
