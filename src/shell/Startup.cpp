#include "Startup.h"

#include "Basic.h"
#include "Database.h"
#include "GlobalModule.h"
#include "HelpViewer.h"
#include "Keyboard.h"
#include "MsgBox.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QFont>
#include <QScreen>

std::unique_ptr<SingleInstance> ClaimSingleInstance(const QString& programName, const QString& refusal)
{
    auto instance = std::make_unique<SingleInstance>(programName);
    if (instance->isFirst())
        return instance;
    MsgBox(refusal);
    return nullptr;
}

void UseProgramFont()
{
    // Full-width characters are exactly two half-width cells in this font.
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(9);
    QApplication::setFont(font);
}

bool PrepareProgram(const QString& programFolder)
{
    GlobalModule& g = Global();
    g.ProgramFolder = programFolder;
    if (!g.ProgramFolder.endsWith(QLatin1Char('/')))
        g.ProgramFolder += QLatin1Char('/');

    double dpiX = 96.0, dpiY = 96.0;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        dpiX = screen->logicalDotsPerInchX();
        dpiY = screen->logicalDotsPerInchY();
    }
    g.TwipsPerPixelX = Basic::CInt(1440.0 / dpiX);
    g.TwipsPerPixelY = Basic::CInt(1440.0 / dpiY);
    g.ExtractMode = 0;

    UseProgramFont();
    SetHelpFile(ProgramFile(QStringLiteral("Vantor.hlp")));

    InstallKeyboard();
    try {
        Database db(g.ProgramFolder);
    } catch (const RuntimeError& error) {
        MsgBox(QStringLiteral("データベース %1 を使用できません。\r\n%2\r\n\r\nファイルはそのまま残してあります。")
                   .arg(Database::pathIn(g.ProgramFolder), error.description()),
               Mb::OKOnly + Mb::Critical);
        return false;
    }
    return true;
}
