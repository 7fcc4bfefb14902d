#pragma once
// Runs one program of the suite at a time and waits for it, keeping the
// application's windows painted meanwhile.

#include <QString>

#include "commands.h"

class ToolLauncher {
public:
    // Programs are looked up in `program_folder`.
    explicit ToolLauncher(QString program_folder);

    // The file of a program: the folder, the name and, on Windows, ".exe".
    QString program_file(const QString &program) const;

    // Starts the command's program with its arguments and returns when it has
    // ended. Meanwhile the event loop runs, so windows repaint, but every user
    // input event and every request to close a window is dropped, so nothing
    // else can be started. The program's console streams are the front end's.
    // Returns "" when the program ran and exited with status 0, otherwise a
    // message that names the program and says what happened: not found, could
    // not be started, crashed, or the exit status.
    QString run(const ToolCommand &command) const;

private:
    QString folder;
};
