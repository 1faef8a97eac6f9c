#pragma once

#include <QFrame>
#include <array>

class QLabel;
class QPushButton;
class QTimer;

// The boat race of the main menu: six boats run three laps of an oval with
// random speeds; the lap, the running order and the first two at the goal are
// shown. Decoration only; nothing is stored.
class RaceArea : public QFrame {
    Q_OBJECT
public:
    explicit RaceArea(QWidget* parent = nullptr);

    void CommandStart_Click();
    void Timer1_Timer();

    int boatAngle(int i) const { return BoatAngle[i]; }
    bool running() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fillRankTable();

    std::array<QLabel*, 12> ImageSenshu{};
    std::array<QLabel*, 6> Senshu{};
    std::array<QLabel*, 2> ImageBui{};
    std::array<QFrame*, 2> ShapeBui{};
    QLabel* LabelJyuni;
    QLabel* LabelSyukaiMei;
    QLabel* LabelSyukai;
    QLabel* LabelResultMei;
    QLabel* LabelResult;
    QPushButton* CommandStart;
    QTimer* Timer1;

    std::array<int16_t, 6> BoatAngle{};
    std::array<int16_t, 6> BoatRadius{};
    std::array<int16_t, 6> BoatFinished{};
    QString FinishOrder;
    int16_t LapCount = 0;
    std::array<std::pair<int16_t, int16_t>, 6> RankTable{};
};
