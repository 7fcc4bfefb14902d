#include "Polmera.h"

#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>

#include "ui_Polmera.h"

namespace {

// A message box without a parent, shown modally until it is dismissed.
void show_message(const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon)
{
    QMessageBox box;
    box.setIcon(icon);
    box.setText(text);
    box.exec();
}

}  // namespace

Polmera::Polmera(QWidget *parent) : Polmera(standard_locations(), parent) {}

Polmera::Polmera(const Locations &where, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui_Polmera>()), locations(where),
      launcher(where.program_folder)
{
    ui->setupUi(this);
}

Polmera::~Polmera() = default;

FieldValues Polmera::field_values() const
{
    return {.source = ui->lnSourcePath->text(),
            .destination = ui->lnDestPath->text(),
            .poly_count = ui->lnPolyCount->text(),
            .environment_scale = ui->lnCount->text(),
            .color_smoothing = ui->lnCount_2->text(),
            .world_scale = ui->lnScaleNumber->text(),
            .offset = ui->lnOffset->text(),
            .gamma = ui->lnGamma->text(),
            .normalsOption = normalsOption,
            .topologyOption = topologyOption,
            .repairOption = repairOption};
}

void Polmera::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void Polmera::perform(const Operation &operation)
{
    const QString previousSource = ui->lnSourcePath->text();
    if (operation.source_update == SourceUpdate::BeforeRun)
        ui->lnSourcePath->setText(operation.next_source);
    const QString failure = launcher.run(operation.command);
    if (!failure.isEmpty()) {
        ui->lnSourcePath->setText(previousSource);
        show_message(failure, QMessageBox::Warning);
        return;
    }
    if (operation.source_update == SourceUpdate::AfterRun)
        ui->lnSourcePath->setText(operation.next_source);
    if (!operation.message.isEmpty())
        show_message(operation.message);
}

void Polmera::on_pushButton_6_clicked() { ui->lnGamma->setText(""); }
void Polmera::on_pushButton_7_clicked() { ui->lnOffset->setText(""); }
void Polmera::on_pushButton_8_clicked() { ui->lnScaleNumber->setText(""); }
void Polmera::on_pushButton_3_clicked() { ui->lnCount_2->setText(""); }
void Polmera::on_pushButton_2_clicked() { ui->lnCount->setText(""); }

void Polmera::on_toolButton_clicked()
{
    // The programs write the exchange file, so its folder has to exist.
    make_folder_of(locations.exchange_file);
    ui->lnSourcePath->setText(locations.exchange_file);
    ui->lnDestPath->setText(locations.exchange_file);
}

void Polmera::on_chRepairMesh_clicked(bool checked) { repairOption = checked ? "-P" : ""; }
void Polmera::on_chTopology_clicked(bool checked) { topologyOption = checked ? "-Ty " : ""; }
void Polmera::on_chNormals_clicked(bool checked) { normalsOption = checked ? "-Nn " : ""; }

void Polmera::on_actionMerge_Meshes_triggered()
{
    make_folder_of(locations.merged_file);
    perform(merge_meshes(field_values(), locations.merged_file));
}

void Polmera::on_actionCorrect_Coloor_triggered() { perform(correct_colour(field_values())); }
void Polmera::on_actionSubD_Fly_triggered() { perform(subd_fly(field_values())); }
void Polmera::on_actionSubD_Loop_triggered() { perform(subd_loop(field_values())); }
void Polmera::on_actionSubdivide_triggered() { perform(subdivide(field_values())); }
void Polmera::on_actionFix_Model_triggered() { perform(fix_model(field_values())); }
void Polmera::on_actionFill_Holes_triggered() { perform(fill_holes(field_values())); }
void Polmera::on_actionAmb_Occ_triggered() { perform(amb_occ(field_values())); }
void Polmera::on_actionNorm_Bake_triggered() { perform(norm_bake(field_values())); }
void Polmera::on_actionAdd_noise_triggered() { perform(add_noise(field_values())); }
void Polmera::on_actionSmooth_Mesh_2_triggered() { perform(smooth_mesh(field_values())); }
void Polmera::on_actionOptimize_Vert_Numbers_triggered() { perform(optimize_vert_numbers(field_values())); }
void Polmera::on_actionOptmize_Faces_triggered() { perform(optimize_faces(field_values())); }
void Polmera::on_actionEdge_Optimize_triggered() { perform(edge_optimize(field_values())); }
void Polmera::on_actionTri_Unpack_triggered() { perform(tri_unpack(field_values())); }
void Polmera::on_actionTri_Strip_3_triggered() { perform(tri_strip(field_values())); }
void Polmera::on_btnViewModel_2_clicked() { perform(view_destination(field_values())); }
void Polmera::on_btnViewModel_clicked() { perform(view_source(field_values())); }
void Polmera::on_btnGo_clicked() { perform(reduce_polygons(field_values())); }

void Polmera::on_btnBrowseDestination_clicked()
{
    ui->lnDestPath->setText(
        QFileDialog::getSaveFileName(nullptr, "Save", "/home", "Models (*.obj *.ply *.stl *.off)"));
}

void Polmera::on_btnBrowseSource_clicked()
{
#ifdef Q_OS_WIN
    QWidget *parent = this;
#else
    // A dialog that Qt draws itself would take on the window's black style
    // sheet from its parent and become unreadable; the native one does not.
    QWidget *parent = nullptr;
#endif
    ui->lnSourcePath->setText(QFileDialog::getOpenFileName(parent, tr("Open File"), open_dialog_folder(),
                                                           tr("Model (*.obj *.ply *.stl *.off)")));
}
