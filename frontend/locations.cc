#include "locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

Locations standard_locations()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("c:\\BrevoxTemp\\Polmera\\"), QStringLiteral("C:/BrevoxTemp/OUTPUT.obj"),
            QStringLiteral("c:\\BrevoxTemp\\MERGED.obj")};
#else
    const QString exchange = QDir::tempPath() + "/BrevoxTemp/";
    return {QCoreApplication::applicationDirPath(), exchange + "OUTPUT.obj", exchange + "MERGED.obj"};
#endif
}

QString open_dialog_folder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\");
#else
    return QDir::rootPath();
#endif
}

bool make_folder_of(const QString &file)
{
    const QFileInfo info(QDir::fromNativeSeparators(file));
    return QDir().mkpath(info.absolutePath());
}
