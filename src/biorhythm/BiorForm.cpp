#include "BiorForm.h"

#include "Basic.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MenuItems.h"
#include "Glyphs.h"
#include "RaceHeadings.h"
#include "Rhythm.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

using Basic::CInt;

GlyphPanel::GlyphPanel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void GlyphPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (const Glyph& glyph : glyphs_)
        DrawGlyph(p, glyph.rhythm, glyph.at.x(), glyph.at.y());
    if (axes_) {
        p.setPen(Basic::QBColor(0));
        p.drawLine(QPointF(0, 1000 / 15.0), QPointF(2800 / 15.0, 1000 / 15.0));
        p.drawLine(QPointF(1400 / 15.0, 0), QPointF(1400 / 15.0, 2100 / 15.0));
    }
}

void GlyphPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

BiorForm::BiorForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("BiorForm"));
    setWindowTitle(QStringLiteral("バイオリズム一覧"));
    auto* client = new QWidget(this);
    setCentralWidget(client);

    AddMenuItem(menuBar(), QStringLiteral("Menu_Close"), QStringLiteral("終了(&X)"), this, [this] { Menu_Close_Click(); });
    QMenu* detail = menuBar()->addMenu(QStringLiteral("明細表示(&H)"));
    detail->setObjectName(QStringLiteral("Menu_Meisai"));
    const char* items[7] = {"上左(&Q)", "上中(&W)", "上右(&E)", nullptr, "下左(&A)", "下中(&S)", "下右(&D)"};
    for (int index = 0; index < 7; ++index) {
        const QString name = QStringLiteral("Menu_disp_%1").arg(index);
        if (items[index])
            AddMenuItem(detail, name, QString::fromUtf8(items[index]), this, [this, index] { Menu_disp_Click(index); });
        else
            detail->addSeparator()->setObjectName(name);
    }

    PlaceRaceHeadings(client, 8, 8);
    const char* names[3] = {"身体", "感情", "知性"};
    for (int k = 0; k < 3; ++k) {
        auto* box = new GlyphPanel(client);
        box->setObjectName(QStringLiteral("PictureBikou_%1").arg(k));
        Set_Control(box, 50, 20, 456 + 56 * k, 8);
        box->addGlyph(k, QPointF(CInt(10 / 15.0), CInt(10 / 15.0)));
        auto* label = new QLabel(QString::fromUtf8(names[k]), box);
        label->setObjectName(QStringLiteral("LabelBikou_%1").arg(k));
        Set_ControlFont(label, 9, 40, 17, 16, 2);
    }

    auto* background = new QFrame(client);
    background->setObjectName(QStringLiteral("PictureHaikei"));
    background->setFrameShape(QFrame::StyledPanel);
    Set_Control(background, 609, 385, 8, 40);

    const GlobalModule& g = Global();
    for (int j = 0; j < 6; ++j) {
        const int left = 16 + 192 * (j % 3);
        auto* panel = new GlyphPanel(background);
        panel->setObjectName(QStringLiteral("PictureBior_%1").arg(j));
        Set_Control(panel, 187, 140, left, j < 3 ? 40 : 224);
        connect(panel, &GlyphPanel::clicked, this, [this, j] { Guarded([&] { PictureBior_Click(j); }); });
        PictureBior[size_t(j)] = panel;

        auto* name = new QLabel(background);
        name->setObjectName(QStringLiteral("LabelNamae_%1").arg(j));
        Set_ControlFont(name, 9, 120, 17, left, j < 3 ? 16 : 197);
    }
    SizeAndCentre(this, 632, 434);

    Guarded([&] {
        for (int j = 0; j < 6; ++j) {
            const size_t s = size_t(j);
            if (g.SelSeiNen[s] != 0) {
                const double birth = DayNumber(g.SelSeiNen[s], g.SelSeiTuki[s], g.SelSeiHi[s]);
                for (int k = 0; k <= 12; ++k) {
                    const int16_t day = CInt(g.ChosaHi + k - 6);
                    const double d = DayNumber(g.ChosaNen, g.ChosaTuki, day) - birth;
                    const double x = CInt(CInt((k + 1) * 200 - 80) / 15.0);
                    for (int r = 0; r < 3; ++r) {
                        const int period = Rhythm::Periods[r];
                        PictureBior[s]->addGlyph(r, QPointF(x, Rhythm::PanelY(Rhythm::Phase(d, period), period)));
                    }
                }
            }
            findChild<QLabel*>(QStringLiteral("LabelNamae_%1").arg(j))->setText(g.SelNamae[s]);
            PictureBior[s]->setAxes(true);
        }
    });
}

void BiorForm::PictureBior_Click(int index)
{
    Global().SelDetailIndex = int16_t(index);
    Forms::show(QStringLiteral("Bior2Form"));
}

void BiorForm::Menu_disp_Click(int index)
{
    Global().SelDetailIndex = int16_t(index <= 2 ? index : index - 1);
    Forms::show(QStringLiteral("Bior2Form"));
}

void BiorForm::Menu_Close_Click()
{
    Forms::show(QStringLiteral("DispForm"));
    Forms::unload(this);
}
