#pragma once

#include <QMainWindow>
#include <QPointF>
#include <array>
#include <vector>

class GlyphPanel;

// Six panels, one a racer, of the 13 days around the survey date; a click on
// a panel opens that racer's detail.
class BiorForm : public QMainWindow {
    Q_OBJECT
public:
    explicit BiorForm(QWidget* parent = nullptr);

    void PictureBior_Click(int index);
    void Menu_disp_Click(int index);
    void Menu_Close_Click();

private:
    std::array<GlyphPanel*, 6> PictureBior{};
};

// A panel of glyphs: each glyph is a rhythm drawn at a day point; axes
// across. It repaints itself whenever it is exposed.
class GlyphPanel : public QWidget {
    Q_OBJECT
public:
    struct Glyph {
        int rhythm;
        QPointF at;
    };
    explicit GlyphPanel(QWidget* parent = nullptr);

    void addGlyph(int rhythm, QPointF at) { glyphs_.push_back({rhythm, at}); }
    void setAxes(bool axes) { axes_ = axes; }
    const std::vector<Glyph>& glyphs() const { return glyphs_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<Glyph> glyphs_;
    bool axes_ = false;
};
