#include "ShellTest.h"

#include "Basic.h"
#include "ErrorReport.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <memory>

using namespace Basic;

void ShellTest::strAndCStr()
{
    QCOMPARE(Str(1999), QStringLiteral(" 1999"));
    QCOMPARE(Str(0), QStringLiteral(" 0"));
    QCOMPARE(Str(-5), QStringLiteral("-5"));
    QCOMPARE(CStr(5), QStringLiteral("5"));
    QCOMPARE(CStr(-5), QStringLiteral("-5"));
    QCOMPARE(QStringLiteral("調査日：") + Str(1999) + "." + Str(8) + "." + Str(23), QStringLiteral("調査日： 1999. 8. 23"));
}

void ShellTest::roundingToIntegers()
{
    QCOMPARE(CInt(452.5), int16_t(452));
    QCOMPARE(CInt(453.5), int16_t(454));
    QCOMPARE(CInt(-1.5), int16_t(-2));
    QCOMPARE(CInt(0.5), int16_t(0));
    QCOMPARE(CInt(1.4), int16_t(1));
    QCOMPARE(CInt(1.6), int16_t(2));
    QCOMPARE(CInt(32767.4), int16_t(32767));
    QCOMPARE(CInt(-32768.5), int16_t(-32768));
    QCOMPARE(ErrorNumberOf([] { CInt(32767.5); }), ErrorNumber::Overflow);
    QCOMPARE(ErrorNumberOf([] { CInt(99999); }), ErrorNumber::Overflow);
    QCOMPARE(CLng(2.5), int32_t(2));
    QCOMPARE(CLng(70000.5), int32_t(70000));
    QCOMPARE(ErrorNumberOf([] { CLng(3e9); }), ErrorNumber::Overflow);
    QCOMPARE(Int(-0.5), -1.0);
    QCOMPARE(Int(2.9), 2.0);
}

void ShellTest::valReadsTheLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "64" << 64.0;
    QTest::newRow("leading blanks") << "  3" << 3.0;
    QTest::newRow("leading zeros") << "072" << 72.0;
    QTest::newRow("unit after") << "3着" << 3.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "x" << 0.0;
    QTest::newRow("two blanks") << "  " << 0.0;
    QTest::newRow("decimal") << "6.52" << 6.52;
    QTest::newRow("negative") << "-12abc" << -12.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("big") << "99999" << 99999.0;
}

void ShellTest::valReadsTheLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Val(text), value);
}

void ShellTest::textHelpers()
{
    QCOMPARE(Trim(QStringLiteral("  山田 太郎  ")), QStringLiteral("山田 太郎"));
    QCOMPARE(Trim(QStringLiteral("　全角　")), QStringLiteral("　全角　"));  // full-width blanks stay
    QCOMPARE(Left(QStringLiteral("神奈川"), 2), QStringLiteral("神奈"));
    QCOMPARE(Fixed(QStringLiteral("東京"), 6), QStringLiteral("東京    "));
    QCOMPARE(Fixed(QStringLiteral("ABCDEFGH"), 6), QStringLiteral("ABCDEF"));
    // What an input method types, as the half-width text it stands for; kana and kanji stay.
    QCOMPARE(Basic::HalfWidth(QStringLiteral("２０２４．７．２９　住之江ー−１")), QStringLiteral("2024.7.29 住之江ー-1"));
}

void ShellTest::formatPatterns()
{
    QCOMPARE(Format(6.45, "#,##0.00"), QStringLiteral("6.45"));
    QCOMPARE(Format(35.2, "#,##0.0"), QStringLiteral("35.2"));
    QCOMPARE(Format(-3.5234, "##,##0.00"), QStringLiteral("-3.52"));
    QCOMPARE(Format(6.0, "##,##0.00"), QStringLiteral("6.00"));
    QCOMPARE(Format(0.0, "##,##0.00"), QStringLiteral("0.00"));
    QCOMPARE(Format(1234567.891, "#,##0.00"), QStringLiteral("1,234,567.89"));
    QCOMPARE(Format(0.05, "##0.0"), QStringLiteral("0.1"));
    QCOMPARE(Format(5, "0"), QStringLiteral("5"));
    // A value that rounds to zero shows no minus sign.
    QCOMPARE(Format(-0.0000024, "##,##0.00"), QStringLiteral("0.00"));
}

void ShellTest::dateCheck_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("message");
    QTest::newRow("29 Feb 2000") << 2000 << 2 << 29 << QString();
    QTest::newRow("29 Feb 1999") << 1999 << 2 << 29 << "日が正しくありません";
    QTest::newRow("30 Feb 2000") << 2000 << 2 << 30 << "日が正しくありません";
    QTest::newRow("29 Feb 1900 (no century rule)") << 1900 << 2 << 29 << QString();
    QTest::newRow("31 Apr") << 1999 << 4 << 31 << "日が正しくありません";
    QTest::newRow("31 Nov") << 1999 << 11 << 31 << "日が正しくありません";
    QTest::newRow("30 Nov") << 1999 << 11 << 30 << QString();
    QTest::newRow("month 13") << 1999 << 13 << 1 << "月が正しくありません";
    QTest::newRow("month -1") << 1999 << -1 << 1 << "月が正しくありません";
    QTest::newRow("month 0") << 1999 << 0 << 31 << QString();
    QTest::newRow("day 40 in May is not checked") << 1999 << 5 << 40 << QString();
}

void ShellTest::dateCheck()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, message);
    TestFolder t;
    Global().ChosaNen = int16_t(year);
    Global().ChosaTuki = int16_t(month);
    Global().ChosaHi = int16_t(day);
    Check_ChosaDate();
    if (message.isEmpty()) {
        QVERIFY(MsgBoxScript::shown().empty());
    } else {
        QCOMPARE(MsgBoxScript::texts(), QStringList{message});
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("Vantor"));
    }
    // The check only informs.
    QCOMPARE(int(Global().ChosaHi), day);
}

void ShellTest::datesToStore_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("message");
    const QString month = QStringLiteral("月が正しくありません");
    const QString day = QStringLiteral("日が正しくありません");
    QTest::newRow("29 Feb 2000") << 2000 << 2 << 29 << QString();
    QTest::newRow("31 Dec") << 2024 << 12 << 31 << QString();
    QTest::newRow("1 Jan") << 2024 << 1 << 1 << QString();
    QTest::newRow("29 Feb 1999") << 1999 << 2 << 29 << day;
    QTest::newRow("31 Apr") << 2024 << 4 << 31 << day;
    QTest::newRow("32 Jan") << 2024 << 1 << 32 << day;
    QTest::newRow("day 0") << 2024 << 8 << 0 << day;
    QTest::newRow("day -9999") << 2024 << 8 << -9999 << day;
    QTest::newRow("month 99") << 2024 << 99 << 1 << month;
    QTest::newRow("month 0") << 2024 << 0 << 1 << month;
    QTest::newRow("month -1") << 2024 << -1 << 1 << month;
}

void ShellTest::datesToStore()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, message);
    QCOMPARE(DateProblem(year, month, day), message);
}

void ShellTest::wholeNumberBoxes()
{
    QCOMPARE(WholeNumberBox(QStringLiteral("12"), QStringLiteral("期")), QVariant(qint64(12)));
    QCOMPARE(WholeNumberBox(QStringLiteral(" -7ab"), QStringLiteral("期")), QVariant(qint64(-7)));
    QCOMPARE(WholeNumberBox(QString(), QStringLiteral("期")), QVariant(qint64(0)));
    QCOMPARE(WholeNumberBox(QStringLiteral("3.0"), QStringLiteral("期")), QVariant(qint64(3)));
    // Too large for any column: left for the column to refuse as an overflow.
    QCOMPARE(WholeNumberBox(QStringLiteral("1e308"), QStringLiteral("期")).typeId(), int(QMetaType::Double));
    QString description;
    QCOMPARE(ErrorNumberOf([] { WholeNumberBox(QStringLiteral("3.5"), QStringLiteral("競艇場ID")); }, &description),
             ErrorNumber::TypeMismatch);
    QCOMPARE(description, QStringLiteral("'競艇場ID' には整数を入力して下さい。"));
    QCOMPARE(ErrorNumberOf([] { WholeNumberBox(QStringLiteral("-0.25"), QStringLiteral("期")); }), ErrorNumber::TypeMismatch);
}

namespace {
// Runs `look` on the message box that MsgBox shows next, once it is on the
// screen, and closes the box with its last button.
void onNextBox(const std::function<void(QMessageBox*)>& look)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [look, attempt](int left) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                look(box);
                box->buttons().last()->click();
                return;
            }
        }
        if (left > 0)
            QTimer::singleShot(10, [attempt, left] { (*attempt)(left - 1); });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(500); });
}
}

void ShellTest::messageBoxesNeverGrowPastTheScreen()
{
    TestFolder t;
    MsgBoxScript::stop();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QStringList manyLines;
    for (int i = 0; i < 400; ++i)
        manyLines << QStringLiteral("行%1").arg(i);
    const QString longName(10000, QChar(0x540d));
    const QStringList texts{
        QStringLiteral("4001 ") + longName + QStringLiteral("　選手の内容を更新しますか。\r\n"),
        QStringLiteral("エラー番号  3163 でエラーが発生しました。 \r") + QString(10000, QLatin1Char('9')),
        manyLines.join(QStringLiteral("\r\n")),
    };
    for (const QString& text : texts) {
        QSize size;
        QString shown;
        bool reachable = false;
        onNextBox([&](QMessageBox* box) {
            size = box->frameGeometry().size();
            shown = box->text();
            // Every button lies inside the screen, where it can be clicked.
            reachable = !box->buttons().isEmpty();
            for (QAbstractButton* button : box->buttons())
                reachable = reachable && screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()));
        });
        MsgBox(text, Mb::Confirm, QStringLiteral("選手テーブル更新"));
        QVERIFY2(size.isValid(), "no box was shown");
        QVERIFY2(size.height() <= screen.height() && size.width() <= screen.width(),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4").arg(size.width()).arg(size.height()).arg(screen.width()).arg(screen.height())));
        QVERIFY(reachable);
        // Cut in the middle: the head and the last line (the question) stay.
        QVERIFY2(shown.contains(QStringLiteral("…\n")), qPrintable(shown.right(20)));
        QVERIFY(shown.startsWith(text.left(2)));
        const QString lastShown = shown.section(QLatin1Char('\n'), -1);
        QVERIFY2(!lastShown.isEmpty() && text.trimmed().endsWith(lastShown), qPrintable(lastShown));
        if (text.contains(QStringLiteral("しますか")))
            QVERIFY2(lastShown.endsWith(QStringLiteral("　選手の内容を更新しますか。")), qPrintable(lastShown));
    }
    // A text that fits is shown as it is.
    QString shown;
    onNextBox([&](QMessageBox* box) { shown = box->text(); });
    MsgBox(QStringLiteral("選手テーブルを更新しますか。\r\n"), Mb::Confirm, QStringLiteral("選手テーブル更新"));
    QCOMPARE(shown, QStringLiteral("選手テーブルを更新しますか。"));
    MsgBoxScript::start();
}

void ShellTest::fontScaling()
{
    TestFolder t;
    Global().TwipsPerPixelX = 12;
    QCOMPARE(ScaledFontSize(9), 7);
    QCOMPARE(ScaledFontSize(10), 8);
    QCOMPARE(ScaledFontSize(18), 14);
    Global().TwipsPerPixelX = 15;
    QCOMPARE(ScaledFontSize(9), 9);

    QLabel label;
    Global().TwipsPerPixelX = 12;
    Set_ControlFont(&label, 9, 185, 41, 3, 40);
    QCOMPARE(label.font().pointSize(), 7);
    QCOMPARE(label.geometry(), QRect(3, 40, 185, 41));
}

void ShellTest::nullValue()
{
    QCOMPARE(Null_Value(QVariant(), 1), QVariant(QString()));
    QCOMPARE(Null_Value(QVariant(), 0), QVariant(0));
    QCOMPARE(Null_Value(QVariant(5), 1), QVariant(5));
}

void ShellTest::standardErrorReport()
{
    TestFolder t;
    const bool ok = Guarded([] { throw RuntimeError(3022, QStringLiteral("Recordset"), QStringLiteral("UNIQUE constraint failed")); });
    QVERIFY(!ok);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    const ShownBox box = MsgBoxScript::shown()[0];
    QCOMPARE(box.text, QStringLiteral("エラー番号  3022Recordset でエラーが発生しました。 \rUNIQUE constraint failed"));
    QCOMPARE(box.title, QStringLiteral("エラー"));
    // An engine error is a table operation's: the critical icon; every
    // report has its help button.
    QCOMPARE(box.style, Mb::OKOnly + Mb::Critical + Mb::HelpButton);
    Guarded([] { throw RuntimeError(6, QStringLiteral("Vantor"), QStringLiteral("オーバーフローしました。")); });
    QCOMPARE(MsgBoxScript::shown().back().style, Mb::OKOnly + Mb::HelpButton);
    Guarded([] { throw RuntimeError(6, QStringLiteral("Dorrix"), QStringLiteral("オーバーフローしました。")); }, Mb::Critical);
    QCOMPARE(MsgBoxScript::shown().back().style, Mb::OKOnly + Mb::Critical + Mb::HelpButton);
}

void ShellTest::secondInstanceIsRefused()
{
    TestFolder t;
    const QString name = QStringLiteral("vantor-test-%1").arg(QCoreApplication::applicationPid());
    auto first = ClaimSingleInstance(name, QStringLiteral("ヴァントールは複数起動出来ません。"));
    QVERIFY(first);
    QVERIFY(MsgBoxScript::shown().empty());
    auto second = ClaimSingleInstance(name, QStringLiteral("ヴァントールは複数起動出来ません。"));
    QVERIFY(!second);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("ヴァントールは複数起動出来ません。")});
    first.reset();
    QVERIFY(ClaimSingleInstance(name, QString()));
}

void ShellTest::startUpCreatesTheDatabaseOrRefusesABadOne()
{
    TestFolder t;
    QString folder = t.folder();
    folder.chop(1);  // the trailing "/" is added once
    QVERIFY(PrepareProgram(folder));
    QCOMPARE(Global().ProgramFolder, t.folder());
    QVERIFY(QFile::exists(t.file("Vantor.mdb")));
    QCOMPARE(Global().ExtractMode, int16_t(0));

    TestFolder bad;
    {
        QFile f(bad.file("Vantor.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    QVERIFY(!PrepareProgram(bad.folder()));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("Vantor.mdb")));
    QCOMPARE(QFile(bad.file("Vantor.mdb")).size(), 4096);
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ShellTest shell;
    StartupTest startup;
    MainFormTest mainForm;
    return RunTestObjects(argc, argv, {&shell, &startup, &mainForm});
}
