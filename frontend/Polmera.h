#pragma once
// The front end's main window: two path fields, the settings of the
// operations, and the buttons and toolbar actions that start the suite's
// programs on those paths.

#include <QMainWindow>
#include <memory>

#include "commands.h"
#include "launcher.h"
#include "locations.h"

class Ui_Polmera;

class Polmera : public QMainWindow {
    Q_OBJECT

public:
    // The window of an installed suite (standard_locations()).
    explicit Polmera(QWidget *parent = nullptr);
    // The window with its programs and exchange files at the given locations.
    explicit Polmera(const Locations &locations, QWidget *parent = nullptr);
    ~Polmera() override;

    // The field texts and option fragments as the actions read them now.
    FieldValues field_values() const;

protected:
    // Passes the event on; a language change sets every text of the form
    // again, field contents included.
    void changeEvent(QEvent *event) override;

private slots:
    void on_pushButton_6_clicked();
    void on_pushButton_7_clicked();
    void on_pushButton_8_clicked();
    void on_actionCorrect_Coloor_triggered();
    void on_toolButton_clicked();
    void on_pushButton_3_clicked();
    void on_chRepairMesh_clicked(bool checked);
    void on_chTopology_clicked(bool checked);
    void on_chNormals_clicked(bool checked);
    void on_actionMerge_Meshes_triggered();
    void on_pushButton_2_clicked();
    void on_actionSubD_Fly_triggered();
    void on_actionSubD_Loop_triggered();
    void on_actionSubdivide_triggered();
    void on_actionFix_Model_triggered();
    void on_actionFill_Holes_triggered();
    void on_actionAmb_Occ_triggered();
    void on_actionNorm_Bake_triggered();
    void on_actionAdd_noise_triggered();
    void on_actionSmooth_Mesh_2_triggered();
    void on_actionOptimize_Vert_Numbers_triggered();
    void on_actionOptmize_Faces_triggered();
    void on_actionEdge_Optimize_triggered();
    void on_actionTri_Unpack_triggered();
    void on_actionTri_Strip_3_triggered();
    void on_btnViewModel_2_clicked();
    void on_btnViewModel_clicked();
    void on_btnGo_clicked();
    void on_btnBrowseDestination_clicked();
    void on_btnBrowseSource_clicked();

private:
    // Runs an operation: chains its next source into the source field, runs
    // its program and waits, then shows the completion message. When the
    // program fails, a message says so and the source field gets back the text
    // it had before.
    void perform(const Operation &operation);

    std::unique_ptr<Ui_Polmera> ui;
    Locations locations;
    ToolLauncher launcher;
    QString normalsOption;
    QString topologyOption;
    QString repairOption;
};
