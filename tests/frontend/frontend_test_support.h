#pragma once
// Helpers of the front end's tests: a program folder of stand-in programs that
// record how they were started, and a watcher that deals with the modal
// dialogs and message boxes that the window opens.

#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <vector>

#include "Polmera.h"

// A temporary folder with stand-ins for the six programs the front end starts.
// Each stand-in appends its name and arguments to a log and then does what its
// instruction says: exit with a status, crash, or wait for release().
class StandInFolder {
public:
    StandInFolder();
    QString path() const { return dir.path(); }
    // Locations with this folder as the program folder and the exchange files
    // in a subfolder "exchange" that does not exist yet.
    Locations locations() const;

    // What `program` does on its next runs: "0", "3", ... (exit status), "crash",
    // or "wait" (until release() or a generous limit).
    void instruct(const QString &program, const QString &instruction);
    void release();
    // Removes a program, or leaves it in place without permission to run.
    void remove(const QString &program);
    void forbid(const QString &program);

    // Every run so far: the program's name followed by its arguments.
    std::vector<QStringList> runs() const;

private:
    QTemporaryDir dir;
};

// While it exists, looks every few milliseconds for a modal window and hands
// it to `handle`, which is expected to close it.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(QWidget *)> handle);

private:
    QTimer timer;
};

// Records the text of every message box and dismisses it.
class MessageRecorder {
public:
    MessageRecorder();
    QStringList texts;

private:
    ModalWatcher watcher;
};

// Sets a line edit of the window, found by object name.
void set_field(Polmera &window, const char *name, const QString &text);
QString field(const Polmera &window, const char *name);
