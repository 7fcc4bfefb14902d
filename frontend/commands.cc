#include "commands.h"

namespace {

const QString finished = QStringLiteral("FINISHED");

// Stripline on source and destination with the given options in between.
Operation filter(const FieldValues &f, const QStringList &options, const QString &message = finished)
{
    return {make_command("Stripline", QStringList{f.source} + options + QStringList{f.destination}),
            SourceUpdate::BeforeRun, f.destination, message};
}

// bake with a sub-command word and its numbers.
Operation bake(const FieldValues &f, const QStringList &subCommand)
{
    return {make_command("bake", QStringList{f.source} + subCommand + QStringList{f.destination}),
            SourceUpdate::BeforeRun, f.destination, finished};
}

Operation view(const QString &path)
{
    return {make_command("PolmeraViewer", {path}), SourceUpdate::Unchanged, {}, {}};
}

// The words of an option fragment ("-Nn " gives "-Nn", "" gives none).
QStringList words(const QString &fragment) { return fragment.split(' ', Qt::SkipEmptyParts); }

}  // namespace

ToolCommand make_command(const QString &program, const QStringList &pieces)
{
    ToolCommand command{program, {}};
    for (const QString &piece : pieces)
        if (!piece.isEmpty())
            command.arguments << piece;
    return command;
}

QString reduction_source(const QString &source)
{
    QString stem = source.left(qMax(0, source.size() - 3));
    const qsizetype dot = stem.lastIndexOf('.');
    stem.chop(dot >= 0 ? stem.size() - dot : 1);
    return stem + ".obj";
}

Operation tri_strip(const FieldValues &f) { return filter(f, {"-tstrip"}); }
Operation tri_unpack(const FieldValues &f) { return filter(f, {"-notstrip"}); }
Operation edge_optimize(const FieldValues &f) { return filter(f, {"-edgeflip"}, "fINISHED"); }
Operation optimize_faces(const FieldValues &f) { return filter(f, {"-orient"}); }
Operation optimize_vert_numbers(const FieldValues &f) { return filter(f, {"-reorder"}); }
Operation smooth_mesh(const FieldValues &f) { return filter(f, {"-smooth", f.environment_scale}); }
Operation add_noise(const FieldValues &f) { return filter(f, {"-noise", f.environment_scale}); }
Operation fix_model(const FieldValues &f) { return filter(f, {"-rmverts", "-rmfaces"}); }
Operation subdivide(const FieldValues &f) { return filter(f, {"-subD"}); }
Operation subd_loop(const FieldValues &f) { return filter(f, {"-subDloop"}, "FIUNISHED"); }
Operation subd_fly(const FieldValues &f) { return filter(f, {"-subDfly"}); }

Operation norm_bake(const FieldValues &f) { return bake(f, {"normals"}); }
Operation amb_occ(const FieldValues &f) { return bake(f, {"ao", f.environment_scale, f.color_smoothing}); }
Operation correct_colour(const FieldValues &f)
{
    return bake(f, {"colReamp", f.world_scale, f.offset, f.gamma});
}

Operation view_source(const FieldValues &f) { return view(f.source); }
Operation view_destination(const FieldValues &f) { return view(f.destination); }

Operation reduce_polygons(const FieldValues &f)
{
    const QStringList pieces = QStringList{reduction_source(f.source), f.destination, f.poly_count} +
                               words(f.normalsOption) + words(f.topologyOption) + QStringList{"-Hy"} +
                               words(f.repairOption);
    return {make_command("Tidegate", pieces), SourceUpdate::AfterRun, f.destination, {}};
}

Operation fill_holes(const FieldValues &f)
{
    return {make_command("hole", {"-c", f.source, f.destination}), SourceUpdate::AfterRun, f.destination,
            finished};
}

Operation merge_meshes(const FieldValues &f, const QString &merged_file)
{
    return {make_command("merge", {f.source, f.destination, "-o", merged_file}), SourceUpdate::BeforeRun,
            merged_file, finished};
}
