// The window's widgets, actions and resources, and the handlers that start no
// program: clear buttons, check boxes, file dialogs, exchange button, exit and
// retranslation.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "frontend_test_support.h"

namespace {

struct ExpectedWidget {
    const char *name;
    const char *kind;
    const char *parent;
    QString text;  // text, or title of the group box
};

const std::vector<ExpectedWidget> expectedWidgets{
    {"centralWidget", "QWidget", "Polmera", ""},
    {"lnSourcePath", "QLineEdit", "centralWidget", "Source Model"},
    {"btnBrowseSource", "QPushButton", "centralWidget", "..."},
    {"lnDestPath", "QLineEdit", "centralWidget", "Destination Model"},
    {"btnBrowseDestination", "QPushButton", "centralWidget", "..."},
    {"frame", "QFrame", "centralWidget", ""},
    {"label_7", "QLabel", "frame", "Polmera Settings"},
    {"lnPolyCount", "QLineEdit", "frame", "Required Polygon Count"},
    {"pushButton", "QPushButton", "frame", "Clear"},
    {"chNormals", "QCheckBox", "frame", "Ignore Surface"},
    {"chTopology", "QCheckBox", "frame", "Keep Topology"},
    {"chRepairMesh", "QCheckBox", "frame", "Repair Mesh"},
    {"frame_2", "QFrame", "centralWidget", ""},
    {"label_6", "QLabel", "frame_2", "Ambient Occlusion  Bake"},
    {"lnCount", "QLineEdit", "frame_2", "1"},
    {"label_4", "QLabel", "frame_2", "Enviroment Scale"},
    {"pushButton_2", "QPushButton", "frame_2", "Clear"},
    {"lnCount_2", "QLineEdit", "frame_2", "1"},
    {"label_5", "QLabel", "frame_2", "Color Smoothing"},
    {"pushButton_3", "QPushButton", "frame_2", "Clear"},
    {"groupBox", "QGroupBox", "centralWidget", " Colour Correct"},
    {"lnScaleNumber", "QLineEdit", "groupBox", "1"},
    {"label_12", "QLabel", "groupBox", "World Scale"},
    {"pushButton_8", "QPushButton", "groupBox", "Clear"},
    {"lnOffset", "QLineEdit", "groupBox", "1"},
    {"label_10", "QLabel", "groupBox", "Offset"},
    {"pushButton_7", "QPushButton", "groupBox", "Clear"},
    {"lnGamma", "QLineEdit", "groupBox", "1"},
    {"label_11", "QLabel", "groupBox", "Gamma"},
    {"pushButton_6", "QPushButton", "groupBox", "Clear"},
    {"btnViewModel", "QPushButton", "centralWidget", "ViewModel"},
    {"btnViewModel_2", "QPushButton", "centralWidget", "ViewModel"},
    {"btnGo", "QPushButton", "centralWidget", "GO"},
    {"toolButton", "QToolButton", "centralWidget", "Temp File"},
    {"btnExit", "QPushButton", "centralWidget", "Exit"},
    {"label", "QLabel", "centralWidget", "Quillfen Software"},
    {"label_2", "QLabel", "centralWidget", ""},
};

struct ExpectedAction {
    const char *name;
    QString text;
    QString toolTip;
    QString icon;
};

// The toolbar's entries in order ("|" a separator), then the action that is on
// no toolbar.
const std::vector<ExpectedAction> expectedActions{
    {"actionFill_Holes", "Fill Holes", "Fill all Mesh Holes", ":/new/ToolbarIcons/res/fillHoles.png"},
    {"|", "", "", ""},
    {"actionSmooth_Mesh_2", "Smooth Mesh", "Smooth Mesh Surface", ":/new/ToolbarIcons/res/smooth.png"},
    {"|", "", "", ""},
    {"|", "", "", ""},
    {"actionAmb_Occ", "Amb Occ", "Ambient Occlusoin bake to vertex color", ":/new/ToolbarIcons/res/ambOcc.png"},
    // No tool-tip of its own: Qt derives it from the text.
    {"actionNorm_Bake", "Norm Bake", "Norm Bake", ":/new/ToolbarIcons/res/norm.png"},
    {"actionCorrect_Coloor", "Correct Coloor", "vertex color correction", ":/new/ToolbarIcons/res/ReMap.png"},
    {"actionMerge_Meshes", "Merge Meshes", "Merge / Join 2 meshes", ":/new/ToolbarIcons/join"},
    {"actionTri_Strip_3", "Tri Strip", "Tri Strip", ":/new/ToolbarIcons/res/TriStrip.png"},
    {"actionTri_Unpack", "Tri Unpack", "Tri Strip unpack", ":/new/ToolbarIcons/res/TriUnpack.png"},
    {"actionFix_Model", "Fix Model", "Fix problems with dodgy verts ad edges",
     ":/new/ToolbarIcons/res/fuckedup.png"},
    {"actionOptmize_Faces", "Optmize Faces", "Optmize face orientation", ":/new/ToolbarIcons/res/autoFaces.png"},
    {"actionEdge_Optimize", "Edge Optimize", "Edge flip optimiser", ":/new/ToolbarIcons/res/EdgeOptimise.png"},
    {"actionOptimize_Vert_Numbers", "Optimize Vert Numbers", "Optimixe the vertex numbering for faster loading",
     ":/new/ToolbarIcons/res/verts.png"},
    {"|", "", "", ""},
    {"actionSubdivide", "Subdivide", "Standard triangular Subdivision ", ":/new/ToolbarIcons/res/subd1.png"},
    {"actionSubD_Loop", "SubD Loop", "Subdivide model using Loop Subdivision", ":/new/ToolbarIcons/res/subDloop.png"},
    {"actionSubD_Fly", "SubD Fly", "subdivide model using fly subdivision", ":/new/ToolbarIcons/res/subDfly.png"},
    {"|", "", "", ""},
    {"actionAdd_noise", "Add noise", "Add noise to mesh", ":/new/ToolbarIcons/res/noise.png"},
};
const int toolbarEntries = 20;

QImage image_of(const QIcon &icon) { return icon.pixmap(33, 33).toImage(); }

class WindowTest : public testing::Test {
protected:
    QTemporaryDir exchange;
    Polmera window{Locations{exchange.path(), exchange.filePath("ex/OUTPUT.obj"), exchange.filePath("ex/MERGED.obj")}};

    template <class T> T *find(const char *name) const { return window.findChild<T *>(name); }
};

}  // namespace

TEST_F(WindowTest, has_fixed_size_title_and_window_icon)
{
    EXPECT_EQ(window.objectName(), "Polmera");
    EXPECT_EQ(window.windowTitle(), "Polmera");
    EXPECT_EQ(window.size(), QSize(700, 411));
    EXPECT_EQ(window.maximumSize(), QSize(700, 411));
    EXPECT_EQ(window.minimumSize(), QSize(700, 411));
    EXPECT_EQ(window.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(window.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(window.contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_EQ(window.styleSheet(), "background-color: rgb(0, 0, 0);\n");
    EXPECT_EQ(image_of(window.windowIcon()), image_of(QIcon(":/icon/Polmera_Beta.ico")));
    EXPECT_EQ(window.findChild<QMenuBar *>(), nullptr);
    EXPECT_EQ(window.findChild<QStatusBar *>(), nullptr);
}

TEST_F(WindowTest, widgets_have_their_names_kinds_parents_and_texts)
{
    for (const ExpectedWidget &e : expectedWidgets) {
        SCOPED_TRACE(e.name);
        const QWidget *w = find<QWidget>(e.name);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), e.kind);
        EXPECT_EQ(w->parentWidget()->objectName(), e.parent);
        const char *textProperty = qobject_cast<const QGroupBox *>(w) ? "title" : "text";
        EXPECT_EQ(w->property(textProperty).toString(), e.text);
    }
}

TEST_F(WindowTest, fields_and_buttons_carry_their_style_sheets)
{
    const QString white = "background-color: rgb(255, 255, 255);";
    const QString grey = "background-color: rgb(221, 221, 221);";
    for (const QLineEdit *edit : window.findChildren<QLineEdit *>())
        EXPECT_EQ(edit->styleSheet(), white) << edit->objectName().toStdString();
    for (const char *name : {"btnBrowseSource", "btnBrowseDestination", "pushButton", "pushButton_2", "pushButton_3",
                             "pushButton_6", "pushButton_7", "pushButton_8", "btnViewModel", "btnViewModel_2",
                             "btnExit"})
        EXPECT_EQ(find<QWidget>(name)->styleSheet(), grey) << name;
    EXPECT_EQ(find<QWidget>("centralWidget")->styleSheet(), "background-color: rgb(90, 90, 90);");
    for (const char *name : {"frame", "frame_2"}) {
        const QFrame *f = find<QFrame>(name);
        EXPECT_EQ(f->frameShape(), QFrame::Box);
        EXPECT_EQ(f->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(f->lineWidth(), 1);
    }
    for (const char *name : {"chNormals", "chTopology", "chRepairMesh"})
        EXPECT_FALSE(find<QCheckBox>(name)->isChecked()) << name;
    EXPECT_EQ(find<QLabel>("label_7")->alignment(), Qt::AlignCenter);
    EXPECT_EQ(find<QGroupBox>("groupBox")->layoutDirection(), Qt::LeftToRight);
}

TEST_F(WindowTest, go_button_stands_out)
{
    const QPushButton *go = find<QPushButton>("btnGo");
    const QString sheet = "background-color: rgb(221, 221, 221);\nborder-right-color: rgb(0, 0, 0);";
    EXPECT_EQ(go->styleSheet(), sheet);
    EXPECT_EQ(go->font().family(), "Arial");
    EXPECT_EQ(go->font().pointSize(), 20);
    EXPECT_TRUE(go->font().bold());
    EXPECT_TRUE(go->autoDefault());
    EXPECT_FALSE(go->isDefault());
    EXPECT_FALSE(go->isFlat());
    EXPECT_EQ(go->toolTip(), "");
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (auto role : {QPalette::Button, QPalette::Base, QPalette::Window})
            EXPECT_EQ(go->palette().color(group, role), QColor(221, 221, 221));
        EXPECT_EQ(go->palette().color(group, QPalette::Mid), QColor(160, 1, 1));
    }
    const QToolButton *exchangeButton = find<QToolButton>("toolButton");
    EXPECT_EQ(exchangeButton->styleSheet(), sheet);
    EXPECT_FALSE(exchangeButton->autoRaise());
    // The right-hand column, with GO the tallest in it.
    for (const char *name : {"btnViewModel", "btnViewModel_2", "btnGo", "toolButton", "btnExit"}) {
        EXPECT_EQ(find<QWidget>(name)->x(), 550) << name;
        EXPECT_EQ(find<QWidget>(name)->width(), 75) << name;
        if (QString(name) != "btnGo") {
            EXPECT_LT(find<QWidget>(name)->height(), go->height()) << name;
        }
    }
}

TEST_F(WindowTest, logo_shows_the_logo_resource)
{
    const QLabel *logo = find<QLabel>("label_2");
    EXPECT_EQ(logo->styleSheet(), "image: url(:/new/prefix1/PolmeraLogo.jpg);\n");
    EXPECT_EQ(logo->pixmap().toImage(), QPixmap(":/new/prefix1/logo").toImage());
    EXPECT_FALSE(logo->hasScaledContents());
    EXPECT_FALSE(logo->wordWrap());
    EXPECT_EQ(logo->alignment(), Qt::AlignCenter);
    QLabel *company = find<QLabel>("label");
    company->ensurePolished();
    EXPECT_EQ(company->styleSheet(), "font: 700 10pt \"MS Shell Dlg 2\";");
    EXPECT_TRUE(company->font().bold());
    EXPECT_EQ(company->alignment(), Qt::AlignCenter);
}

TEST_F(WindowTest, toolbar_lists_actions_in_order_with_separators)
{
    const QToolBar *bar = find<QToolBar>("toolBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "toolBar");
    EXPECT_EQ(bar->iconSize(), QSize(33, 33));
    EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(window.toolBarArea(const_cast<QToolBar *>(bar)), Qt::BottomToolBarArea);
    const QList<QAction *> actions = bar->actions();
    ASSERT_EQ(actions.size(), toolbarEntries);
    for (int i = 0; i < toolbarEntries; ++i) {
        const QString expected = expectedActions[i].name;
        EXPECT_EQ(actions[i]->isSeparator() ? "|" : actions[i]->objectName(), expected) << "entry " << i;
    }
}

TEST_F(WindowTest, actions_have_texts_tool_tips_and_resource_icons)
{
    for (const ExpectedAction &e : expectedActions) {
        if (QString(e.name) == "|")
            continue;
        SCOPED_TRACE(e.name);
        const QAction *action = find<QAction>(e.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->parent(), &window);
        EXPECT_EQ(action->text(), e.text);
        EXPECT_EQ(action->toolTip(), e.toolTip);
        const QPixmap resource(e.icon);
        ASSERT_FALSE(resource.isNull());
        EXPECT_EQ(image_of(action->icon()), image_of(QIcon(e.icon)));
    }
    EXPECT_FALSE(find<QToolBar>("toolBar")->actions().contains(find<QAction>("actionAdd_noise")));
}

TEST(Resources, every_image_loads_under_its_name)
{
    const QStringList names{":/icon/Polmera_Beta.ico", ":/new/prefix1/logo", ":/new/prefix1/PolmeraLogo.jpg",
                            ":/new/ToolbarIcons/join"};
    for (const QString &name : names)
        EXPECT_FALSE(QPixmap(name).isNull()) << name.toStdString();
    EXPECT_EQ(QPixmap(":/icon/Polmera_Beta.ico").size(), QSize(32, 32));
    EXPECT_EQ(QImageReader(":/new/prefix1/logo").format(), "jpeg");
}

TEST_F(WindowTest, check_boxes_hold_their_fragment_exactly_while_checked)
{
    struct Box {
        const char *name;
        QString FieldValues::*fragment;
        QString value;
    };
    for (const Box &b : {Box{"chNormals", &FieldValues::normalsOption, "-Nn "},
                         Box{"chTopology", &FieldValues::topologyOption, "-Ty "},
                         Box{"chRepairMesh", &FieldValues::repairOption, "-P"}}) {
        SCOPED_TRACE(b.name);
        QCheckBox *box = find<QCheckBox>(b.name);
        EXPECT_EQ(window.field_values().*b.fragment, "");
        box->click();
        EXPECT_EQ(window.field_values().*b.fragment, b.value);
        box->click();
        EXPECT_EQ(window.field_values().*b.fragment, "");
        box->click();
        EXPECT_EQ(window.field_values().*b.fragment, b.value);
    }
    const FieldValues all = window.field_values();
    EXPECT_EQ(all.normalsOption + all.topologyOption + all.repairOption, "-Nn -Ty -P");
}

TEST_F(WindowTest, clear_buttons_empty_only_their_own_field)
{
    const std::vector<std::pair<const char *, const char *>> pairs{
        {"pushButton", "lnPolyCount"},  {"pushButton_2", "lnCount"},  {"pushButton_3", "lnCount_2"},
        {"pushButton_8", "lnScaleNumber"}, {"pushButton_7", "lnOffset"}, {"pushButton_6", "lnGamma"}};
    for (const auto &[button, cleared] : pairs) {
        SCOPED_TRACE(button);
        for (const auto &[unused, name] : pairs)
            set_field(window, name, "7");
        find<QPushButton>(button)->click();
        for (const auto &[unused, name] : pairs)
            EXPECT_EQ(field(window, name), QString(name) == cleared ? "" : "7") << name;
    }
}

namespace {

// What a file dialog showed when it opened, and what the field held then.
struct DialogSeen {
    QString caption, directory, fieldText;
    QStringList filters;
    bool hasParent = false;
    bool saving = false;
    double blackShare = 0;  // share of the dialog's pixels that are pure black
};

double black_share(const QImage &image)
{
    qsizetype black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            black += image.pixel(x, y) == qRgb(0, 0, 0);
    return double(black) / (image.width() * image.height());
}

// Opens a file dialog with `button`; the dialog is inspected and then
// cancelled, or given `choice` when that is not empty.
DialogSeen use_dialog(Polmera &window, const char *button, const char *field_name, const QString &choice = {})
{
    DialogSeen seen;
    ModalWatcher watcher([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return;
        seen = {dialog->windowTitle(), dialog->directory().absolutePath(), field(window, field_name),
                dialog->nameFilters(), dialog->parentWidget() != nullptr,
                dialog->acceptMode() == QFileDialog::AcceptSave, black_share(dialog->grab().toImage())};
        if (choice.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(choice);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    window.findChild<QPushButton *>(button)->click();
    return seen;
}

}  // namespace

TEST_F(WindowTest, open_dialog_starts_on_an_empty_source_and_cancelling_leaves_it_empty)
{
    const DialogSeen seen = use_dialog(window, "btnBrowseSource", "lnSourcePath");
    EXPECT_EQ(seen.caption, "Open File");
    EXPECT_EQ(seen.filters, QStringList{"Model (*.obj *.ply *.stl *.off)"});
    EXPECT_EQ(seen.directory, QDir(open_dialog_folder()).absolutePath());
#ifdef Q_OS_WIN
    EXPECT_TRUE(seen.hasParent);
#else
    EXPECT_FALSE(seen.hasParent);
#endif
    EXPECT_FALSE(seen.saving);
    EXPECT_LT(seen.blackShare, 0.5);
    EXPECT_EQ(seen.fieldText, "");
    EXPECT_EQ(field(window, "lnSourcePath"), "");
}

TEST_F(WindowTest, open_dialog_puts_the_chosen_file_into_the_source)
{
    QTemporaryDir dir;
    const QString mesh = dir.filePath("head.ply");
    QFile file(mesh);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    use_dialog(window, "btnBrowseSource", "lnSourcePath", mesh);
    EXPECT_EQ(field(window, "lnSourcePath"), mesh);
}

TEST_F(WindowTest, save_dialog_starts_on_an_empty_destination_and_cancelling_leaves_it_empty)
{
    const DialogSeen seen = use_dialog(window, "btnBrowseDestination", "lnDestPath");
    EXPECT_EQ(seen.caption, "Save");
    EXPECT_EQ(seen.filters, QStringList{"Models (*.obj *.ply *.stl *.off)"});
    if (QDir("/home").exists()) {
        EXPECT_EQ(seen.directory, "/home");
    }
    EXPECT_FALSE(seen.hasParent);
    EXPECT_TRUE(seen.saving);
    EXPECT_LT(seen.blackShare, 0.5);
    EXPECT_EQ(seen.fieldText, "");
    EXPECT_EQ(field(window, "lnDestPath"), "");
}

TEST_F(WindowTest, save_dialog_puts_the_chosen_name_into_the_destination_unchanged)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("result");
    use_dialog(window, "btnBrowseDestination", "lnDestPath", name);
    EXPECT_EQ(field(window, "lnDestPath"), name);
}

TEST_F(WindowTest, exchange_button_puts_the_exchange_file_into_both_paths)
{
    find<QToolButton>("toolButton")->click();
    const QString exchange_file = exchange.filePath("ex/OUTPUT.obj");
    EXPECT_EQ(field(window, "lnSourcePath"), exchange_file);
    EXPECT_EQ(field(window, "lnDestPath"), exchange_file);
    EXPECT_TRUE(QDir(exchange.filePath("ex")).exists());
}

TEST(Locations, exchange_files_lie_in_the_temporary_folder_and_programs_beside_the_executable)
{
    const Locations standard = standard_locations();
#ifndef Q_OS_WIN
    EXPECT_EQ(standard.program_folder, QCoreApplication::applicationDirPath());
    EXPECT_EQ(standard.exchange_file, QDir::tempPath() + "/BrevoxTemp/OUTPUT.obj");
    EXPECT_EQ(standard.merged_file, QDir::tempPath() + "/BrevoxTemp/MERGED.obj");
#endif
    QTemporaryDir dir;
    EXPECT_TRUE(make_folder_of(dir.filePath("a/b/OUTPUT.obj")));
    EXPECT_TRUE(QDir(dir.filePath("a/b")).exists());
}

TEST_F(WindowTest, language_change_sets_every_text_again)
{
    const char *fields[] = {"lnSourcePath", "lnDestPath", "lnPolyCount", "lnCount",
                            "lnCount_2",    "lnScaleNumber", "lnOffset",  "lnGamma"};
    for (const char *name : fields)
        set_field(window, name, "typed");
    find<QCheckBox>("chTopology")->click();
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&window, &change);
    for (const ExpectedWidget &e : expectedWidgets)
        if (auto *edit = find<QLineEdit>(e.name)) {
            EXPECT_EQ(edit->text(), e.text) << e.name;
        }
    EXPECT_EQ(window.windowTitle(), "Polmera");
    EXPECT_EQ(find<QAction>("actionFix_Model")->toolTip(), "Fix problems with dodgy verts ad edges");
    EXPECT_EQ(window.field_values().topologyOption, "-Ty ");
}

TEST_F(WindowTest, exit_closes_the_window_as_soon_as_the_button_goes_down)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(find<QPushButton>("btnExit"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, renders_for_a_person_to_look_at)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPixmap shot = window.grab();
    EXPECT_EQ(shot.size(), QSize(700, 411));
    // Both flavours run at once; each writes its own picture.
    const bool sanitized = QCoreApplication::applicationName().endsWith("_san");
    EXPECT_TRUE(shot.save(QString(POLMERA_TEST_OUTPUT_DIR "/polmera_window%1.png").arg(sanitized ? "_san" : "")));
}
