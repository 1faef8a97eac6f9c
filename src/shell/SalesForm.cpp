#include "SalesForm.h"

#include "Forms.h"
#include "GlobalModule.h"
#include "MenuItems.h"

#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

namespace {
QPixmap stripPicture(int offset)
{
    QPixmap picture(400, 40);
    picture.fill(QColor(40, 110, 180));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[6] = {Qt::white, Qt::black, Qt::red, Qt::blue, Qt::yellow, Qt::darkGreen};
    for (int i = 0; i < 6; ++i) {
        const int x = (offset + i * 70) % 420 - 20;
        p.setBrush(QColor(230, 230, 235));
        p.setPen(Qt::darkGray);
        p.drawRoundedRect(QRectF(x, 22, 30, 8), 3, 3);
        p.setBrush(colours[i]);
        p.setPen(Qt::black);
        p.drawEllipse(QRectF(x + 8, 12, 9, 9));
    }
    return picture;
}
}

SalesForm::SalesForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("salesf"));
    setWindowTitle(QStringLiteral("作者ソフト紹介"));
    auto* client = new QWidget(this);
    setCentralWidget(client);
    AddMenuItem(menuBar(), QStringLiteral("Menu_Close"), QStringLiteral("閉じる(&X)"), this, [this] { Forms::unload(this); });

    auto* text = new QLabel(client);
    text->setObjectName(QStringLiteral("LabelSales"));
    text->setWordWrap(true);
    // The author's programs: this one and the import tool that comes with it.
    text->setText(QStringLiteral(
        "作者のソフト\n\n"
        "ヴァントール Ver1.10\n"
        "  競艇ファンのためのバイオリズム調査ソフトです。\n"
        "ドリックス Ver1.10\n"
        "  ファン手帳から選手テーブルを作り直すツールです。\n\n"
        "使い方は「ヘルプ」(F1 キー) をご覧下さい。"));
    Set_ControlFont(text, 10, 400, 150, 16, 16);

    Strip = new QLabel(client);
    Strip->setObjectName(QStringLiteral("PictureStrip"));
    Set_Control(Strip, 400, 40, 16, 176);
    Strip->setPixmap(stripPicture(0));

    Timer1 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, [this] {
        offset_ = (offset_ + 4) % 420;
        Strip->setPixmap(stripPicture(offset_));
    });
    Timer1->start(100);

    SizeAndCentre(this, 432, 232);
}
