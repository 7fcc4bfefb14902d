#pragma once
// Where the front end finds the programs it starts and the files it exchanges
// with them.

#include <QString>

struct Locations {
    QString program_folder;  // holds Stripline, bake, PolmeraViewer, Tidegate, hole and merge
    QString exchange_file;   // put into both path fields by the exchange button
    QString merged_file;     // where the merge writes its result
};

// The locations of an installed suite. On Windows the fixed folder
// "c:\BrevoxTemp\Polmera\" and the exchange files "C:/BrevoxTemp/OUTPUT.obj"
// and "c:\BrevoxTemp\MERGED.obj"; elsewhere the folder of the running
// executable and OUTPUT.obj and MERGED.obj in the folder BrevoxTemp of the
// system's temporary folder. Needs the application object.
Locations standard_locations();

// The folder in which the open dialog starts: the root of drive C: on Windows,
// the file system's root elsewhere.
QString open_dialog_folder();

// Creates the folder that holds `file` when it is missing. Returns false when
// the folder does not exist afterwards.
bool make_folder_of(const QString &file);
