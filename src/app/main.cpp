#include "app/AppContext.h"
#include "app/UiHelpers.h"
#include "app/Version.h"
#include "app/frmMain.h"

#include <clocale>

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Number texts are ours (decimal comma); C functions must not follow the system locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Кабинор"));
    QApplication::setApplicationVersion(Version::fullText());
    QApplication::setQuitOnLastWindowClosed(true);

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption appDirOption(QStringLiteral("app-dir"), QStringLiteral("Application folder."), QStringLiteral("DIR"));
    parser.addOption(appDirOption);
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file to open."));
    parser.process(app);

    AppContext context(AppContext::resolveAppDir(parser.value(appDirOption), QApplication::applicationDirPath()));
    QtPrompter prompter;
    if (!frmMain::runStartupCheck(context, prompter))
        return 1;

    frmMain window(context, prompter);
    prompter.setParent(&window);
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.OpenProject(parser.positionalArguments().constFirst());
    return app.exec();
}
