#pragma once
// The command of every launching action of the window, built from the window's
// field texts as plain values, so that it can be checked without a window.
//
// A command is a program name and an argument list. Field texts are passed as
// typed, each as one argument (a path with blanks stays one argument); a piece
// that is empty is left out, so the arguments after it move forward.

#include <QString>
#include <QStringList>

// What the actions read from the window at the moment they run.
struct FieldValues {
    QString source;             // lnSourcePath
    QString destination;        // lnDestPath
    QString poly_count;         // lnPolyCount
    QString environment_scale;  // lnCount, "Enviroment Scale"
    QString color_smoothing;    // lnCount_2, "Color Smoothing"
    QString world_scale;        // lnScaleNumber
    QString offset;             // lnOffset
    QString gamma;              // lnGamma
    // The option fragments of the check boxes: ready-made command-line text
    // ("-Nn ", "-Ty ", "-P") while the box is checked, empty otherwise.
    QString normalsOption;
    QString topologyOption;
    QString repairOption;
};

// A program of the suite, or an outside one, by its bare name (no folder, no
// extension), with its arguments.
struct ToolCommand {
    QString program;
    QStringList arguments;
};

// When the source field takes its next value.
enum class SourceUpdate {
    Unchanged,  // the view buttons
    BeforeRun,  // the suite's filter and baker, and the merge
    AfterRun,   // the reduction and the hole filling
};

// One launching action: the command, how it chains into the source field, and
// the completion message shown after a successful run.
struct Operation {
    ToolCommand command;
    SourceUpdate source_update = SourceUpdate::Unchanged;
    QString next_source;  // the source field's next text; unused when Unchanged
    QString message;      // empty: no message
};

// Builds a command from its pieces, leaving out the empty ones.
ToolCommand make_command(const QString &program, const QStringList &pieces);

// The OBJ path that the reduction program is given for a source path: the last
// three characters are cut, then everything from the last "." on; when the rest
// holds no ".", its last character is cut instead. ".obj" is appended. A source
// of at most three characters leaves just ".obj".
// "C:/m/head.ply" -> "C:/m/head.obj", "C:/x/abcd" -> "C:/x/.obj".
QString reduction_source(const QString &source);

// Stripline: source, option, destination.
Operation tri_strip(const FieldValues &f);              // -tstrip
Operation tri_unpack(const FieldValues &f);             // -notstrip
Operation edge_optimize(const FieldValues &f);          // -edgeflip, "fINISHED"
Operation optimize_faces(const FieldValues &f);         // -orient
Operation optimize_vert_numbers(const FieldValues &f);  // -reorder
Operation smooth_mesh(const FieldValues &f);            // -smooth with the environment scale
Operation add_noise(const FieldValues &f);              // -noise with the environment scale
Operation fix_model(const FieldValues &f);              // -rmverts -rmfaces
Operation subdivide(const FieldValues &f);              // -subD
Operation subd_loop(const FieldValues &f);              // -subDloop, "FIUNISHED"
Operation subd_fly(const FieldValues &f);               // -subDfly

// bake: source, sub-command and its numbers, destination.
Operation norm_bake(const FieldValues &f);       // normals
Operation amb_occ(const FieldValues &f);         // ao, environment scale, colour smoothing
Operation correct_colour(const FieldValues &f);  // colReamp, world scale, offset, gamma

// PolmeraViewer on the source or on the destination; no chaining, no message.
Operation view_source(const FieldValues &f);
Operation view_destination(const FieldValues &f);

// Tidegate: reduction source, destination, polygon count, then the option
// words of the checked boxes around the fixed "-Hy". No message.
Operation reduce_polygons(const FieldValues &f);
// hole: "-c", source, destination.
Operation fill_holes(const FieldValues &f);
// merge: source, destination, "-o", the merged file, which becomes the source.
Operation merge_meshes(const FieldValues &f, const QString &merged_file);
