#include "MsgBox.h"

#include "HelpViewer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <deque>

namespace {
QString g_appTitle = QStringLiteral("Vantor");
bool g_active = false;
std::deque<int> g_answers;
std::vector<ShownBox> g_shown;

int defaultAnswer(int style)
{
    const int buttons = style & 7;
    const bool second = (style & Mb::DefaultButton2) != 0;
    if (buttons == Mb::YesNo)
        return second ? Mb::No : Mb::Yes;
    if (buttons == Mb::OKCancel)
        return second ? Mb::Cancel : Mb::OK;
    return Mb::OK;
}

// The text as the box can show it on a screen of `room`: a line wider than
// the box's text column is broken, and a text taller than the screen leaves
// room for the title and the buttons, its last line ending in "…". A text
// that fits is shown as it is.
QString fittedText(const QString& text, const QFont& font, const QSize& room)
{
    const QFontMetrics metrics(font);
    const int width = std::max(200, std::min(room.width() / 2, 500) - 100);
    const int maxLines = std::max(3, (room.height() - 200) / std::max(1, metrics.lineSpacing()));
    const QString ellipsis = QStringLiteral("…");
    QStringList lines;
    bool cut = false;
    bool broken = false;
    for (QString rest : QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'))) {
        do {
            if (int(lines.size()) == maxLines) {
                cut = true;
                break;
            }
            qsizetype fits = rest.size();
            if (metrics.horizontalAdvance(rest) > width) {
                fits = 0;
                int used = 0;
                while (fits < rest.size() && used + metrics.horizontalAdvance(rest.at(fits)) <= width)
                    used += metrics.horizontalAdvance(rest.at(fits++));
                fits = std::max<qsizetype>(fits, 1);
                broken = true;
            }
            lines << rest.left(fits);
            rest = rest.mid(fits);
        } while (!rest.isEmpty());
        if (cut)
            break;
    }
    if (!cut)
        return broken ? lines.join(QLatin1Char('\n')) : text;
    QString& last = lines.last();
    while (!last.isEmpty() && metrics.horizontalAdvance(last + ellipsis) > width)
        last.chop(1);
    last += ellipsis;
    return lines.join(QLatin1Char('\n'));
}
}

int MsgBox(const QString& text, int style, const QString& title)
{
    const QString caption = title.isEmpty() ? g_appTitle : title;
    if (g_active) {
        g_shown.push_back({text, caption, style});
        if (g_answers.empty())
            return defaultAnswer(style);
        const int answer = g_answers.front();
        g_answers.pop_front();
        return answer;
    }

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    // The texts end in a line break by convention; the box needs no empty line.
    QString shownText = text;
    while (shownText.endsWith(QLatin1Char('\n')) || shownText.endsWith(QLatin1Char('\r')))
        shownText.chop(1);
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    box.setText(screen ? fittedText(shownText, box.font(), screen->availableGeometry().size()) : shownText);
    switch (style & 0x70) {
    case Mb::Critical: box.setIcon(QMessageBox::Critical); break;
    case Mb::Question: box.setIcon(QMessageBox::Question); break;
    case Mb::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Mb::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    const bool second = (style & Mb::DefaultButton2) != 0;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    if ((style & 7) == Mb::YesNo) {
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(second ? no : yes);
        box.setEscapeButton(no);
    } else if ((style & 7) == Mb::OKCancel) {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setDefaultButton(second ? cancel : ok);
        box.setEscapeButton(cancel);
    } else {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    if (style & Mb::HelpButton) {
        QPushButton* help = box.addButton(QStringLiteral("ヘルプ"), QMessageBox::HelpRole);
        // The box stays open while its help is read.
        help->disconnect();
        QObject::connect(help, &QPushButton::clicked, &box, [] { ShowHelp(HelpFile()); });
    }
    box.exec();
    const auto* clicked = box.clickedButton();
    if (clicked == yes && yes) return Mb::Yes;
    if (clicked == no && no) return Mb::No;
    if (clicked == cancel && cancel) return Mb::Cancel;
    if (yes) return Mb::No;  // closed without an answer: never a Yes
    return Mb::OK;
}

void MsgBoxScript::setAppTitle(const QString& title) { g_appTitle = title; }
QString MsgBoxScript::appTitle() { return g_appTitle; }

void MsgBoxScript::start()
{
    g_active = true;
    g_answers.clear();
    g_shown.clear();
}

void MsgBoxScript::stop()
{
    g_active = false;
    g_answers.clear();
}

bool MsgBoxScript::active() { return g_active; }
void MsgBoxScript::queue(int answer) { g_answers.push_back(answer); }
std::vector<ShownBox>& MsgBoxScript::shown() { return g_shown; }

QStringList MsgBoxScript::texts()
{
    QStringList list;
    for (const auto& box : g_shown)
        list << box.text;
    return list;
}
