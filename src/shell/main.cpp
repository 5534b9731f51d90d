#include "base/AppContext.h"
#include "base/Version.h"
#include "docs/writers/ReportPages.h"
#include "shell/MainWindow.h"
#include "shell/QtTranslation.h"
#include "ui/widgets/QtPrompter.h"

#include <clocale>

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Number texts are ours (decimal comma); C functions must not follow the system locale.
    std::setlocale(LC_NUMERIC, "C");
    installQtTranslation(app);
    QApplication::setApplicationName(QStringLiteral("Кабинор"));
    QApplication::setApplicationVersion(Version::fullText());
    QApplication::setQuitOnLastWindowClosed(true);
    ReportPages::install();

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption appDirOption(QStringLiteral("app-dir"), QStringLiteral("Application folder."), QStringLiteral("DIR"));
    parser.addOption(appDirOption);
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file to open."));
    parser.process(app);

    AppContext context = AppContext::forExecutable(parser.value(appDirOption), QApplication::applicationDirPath());
    QtPrompter prompter;
    if (!MainWindow::runStartupCheck(context, prompter))
        return 1;

    MainWindow window(context, prompter);
    prompter.setParent(&window);
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.openProject(parser.positionalArguments().constFirst());
    return app.exec();
}
