#include "launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

namespace {

// Drops user input and close requests application-wide while it exists.
class InputBlocker : public QObject {
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();  // a filtered close event still counts as accepted otherwise
            return true;
        }
        return event->isInputEvent();
    }
};

}  // namespace

ToolLauncher::ToolLauncher(QString program_folder) : folder(std::move(program_folder)) {}

QString ToolLauncher::program_file(const QString &program) const
{
#ifdef Q_OS_WIN
    const QString name = program + ".exe";
#else
    const QString name = program;
#endif
    return QDir(QDir::fromNativeSeparators(folder)).filePath(name);
}

QString ToolLauncher::run(const ToolCommand &command) const
{
    const QString file = program_file(command.program);
    const QString named = QStringLiteral("The program \"%1\"").arg(command.program);
    if (!QFileInfo(file).isFile())
        return named + QStringLiteral(" was not found: %1").arg(QDir::toNativeSeparators(file));

    QProcess process;
    process.setProgram(file);
    process.setArguments(command.arguments);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);

    InputBlocker blocker;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start();
    if (!process.waitForStarted(-1))
        return named + QStringLiteral(" could not be started: %1").arg(process.errorString());
    if (process.state() != QProcess::NotRunning)
        loop.exec();

    if (process.exitStatus() == QProcess::CrashExit)
        return named + QStringLiteral(" crashed.");
    if (process.exitCode() != 0)
        return named + QStringLiteral(" ended with exit status %1.").arg(process.exitCode());
    return {};
}
