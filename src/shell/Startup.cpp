#include "Startup.h"

#include "Basic.h"
#include "ButtonNames.h"
#include "Database.h"
#include "FileDialog.h"
#include "GlobalModule.h"
#include "HelpViewer.h"
#include "Keyboard.h"
#include "MsgBox.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QScreen>
#include <QStandardPaths>

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

QString UserDataFolder()
{
    // The location is named after the main program in both programs.
    const QString own = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("vantor"));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(own);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

bool PrepareProgram(const QString& programFolder)
{
    GlobalModule& g = Global();
    g.ProgramFolder = programFolder;
    if (!g.ProgramFolder.endsWith(QLatin1Char('/')))
        g.ProgramFolder += QLatin1Char('/');
    g.DataFolder = Database::belongsIn(g.ProgramFolder) ? g.ProgramFolder : UserDataFolder();

    double dpiX = 96.0, dpiY = 96.0;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        dpiX = screen->logicalDotsPerInchX();
        dpiY = screen->logicalDotsPerInchY();
    }
    g.TwipsPerPixelX = Basic::CInt(1440.0 / dpiX);
    g.TwipsPerPixelY = Basic::CInt(1440.0 / dpiY);
    g.ExtractMode = 0;

    UseProgramFont();
    LoadQtJapanese();
    SetHelpFile(ProgramFile(QStringLiteral("Vantor.hlp")));

    InstallKeyboard();
    NameButtonsForScreenReaders();
    Database::Found found;
    try {
        if (!QDir().mkpath(g.DataFolder))
            throw RuntimeError(ErrorNumber::PathFileAccess, QStringLiteral("Vantor"),
                               QStringLiteral("フォルダ '%1' を作成できません。").arg(g.DataFolder));
        found = Database::prepareFile(g.DataFolder);
        Database db(g.DataFolder);
    } catch (const RuntimeError& error) {
        MsgBox(QStringLiteral("データベース %1 を使用できません。\r\n%2\r\n\r\nファイルはそのまま残してあります。")
                   .arg(Database::pathIn(g.DataFolder), error.description()),
               Mb::OKOnly + Mb::Critical);
        return false;
    }
    KeepFoldersInDatabase();
    if (found == Database::Found::Recovered)
        MsgBox(QStringLiteral("データベース %1 が見つからなかったため、前回の終了時に整理された %2 を %1 に戻しました。")
                   .arg(Database::fileName(), Database::compactedFileName()),
               Mb::OKOnly + Mb::Information);
    return true;
}

void KeepFoldersInDatabase()
{
    // A folder that cannot be read or kept is no reason to stop the user:
    // the dialog then starts in the home folder.
    auto name = [](const QString& kind) { return QStringLiteral("フォルダ:") + kind; };
    SetFolderMemory({[name](const QString& kind) {
                         try {
                             return Database(Global().DataFolder).setting(name(kind));
                         } catch (const RuntimeError&) {
                             return QString();
                         }
                     },
                     [name](const QString& kind, const QString& folder) {
                         try {
                             Database(Global().DataFolder).setSetting(name(kind), folder);
                         } catch (const RuntimeError&) {
                         }
                     }});
}
