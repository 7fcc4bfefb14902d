#include "frontend_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

const QStringList programs{"Stripline", "bake", "PolmeraViewer", "Tidegate", "hole", "merge"};

// Logs "name <arg> <arg> ..." on one line, then follows "<program>.do".
const char *standInScript = R"sh(#!/bin/sh
dir=$(dirname "$0")
{ printf '%s' "$(basename "$0")"; for a in "$@"; do printf ' <%s>' "$a"; done; printf '\n'; } >> "$dir/runs.log"
what=0
[ -f "$0.do" ] && read -r what < "$0.do"
case "$what" in
  crash) kill -SEGV $$ ;;
  wait)
    n=0
    while [ ! -f "$dir/release" ] && [ $n -lt 1500 ]; do sleep 0.02; n=$((n + 1)); done
    exit 0 ;;
  *) exit "$what" ;;
esac
)sh";

void write(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

}  // namespace

StandInFolder::StandInFolder()
{
    for (const QString &program : programs) {
        const QString file = dir.filePath(program);
        write(file, standInScript);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

Locations StandInFolder::locations() const
{
    return {dir.path(), dir.filePath("exchange/OUTPUT.obj"), dir.filePath("exchange/MERGED.obj")};
}

void StandInFolder::instruct(const QString &program, const QString &instruction)
{
    write(dir.filePath(program + ".do"), instruction.toUtf8() + "\n");
}

void StandInFolder::release() { write(dir.filePath("release"), ""); }

void StandInFolder::remove(const QString &program) { QFile::remove(dir.filePath(program)); }

void StandInFolder::forbid(const QString &program)
{
    QFile::setPermissions(dir.filePath(program), QFile::ReadOwner | QFile::WriteOwner);
}

std::vector<QStringList> StandInFolder::runs() const
{
    QFile file(dir.filePath("runs.log"));
    std::vector<QStringList> result;
    if (!file.open(QIODevice::ReadOnly))
        return result;
    static const QRegularExpression argument(" <([^>]*)>");
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        QStringList run{line.section(' ', 0, 0)};
        for (const auto &match : argument.globalMatch(line))
            run << match.captured(1);
        result.push_back(run);
    }
    return result;
}

ModalWatcher::ModalWatcher(std::function<void(QWidget *)> handle)
{
    QObject::connect(&timer, &QTimer::timeout, [this, handle] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            handle(modal);
    });
    timer.start(5);
}

MessageRecorder::MessageRecorder()
    : watcher([this](QWidget *modal) {
          if (auto *box = qobject_cast<QMessageBox *>(modal)) {
              texts << box->text();
              box->done(0);
          }
      })
{
}

void set_field(Polmera &window, const char *name, const QString &text)
{
    window.findChild<QLineEdit *>(name)->setText(text);
}

QString field(const Polmera &window, const char *name) { return window.findChild<QLineEdit *>(name)->text(); }
