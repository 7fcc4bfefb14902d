// Every launching action end to end: the window starts stand-in programs that
// record their arguments, and the test reads the records, the fields and the
// message boxes.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "frontend_test_support.h"

namespace {

const QString S = "/m/my models/a.ply";
const QString D = "/m/out.ply";

class LaunchingTest : public testing::Test {
protected:
    StandInFolder programs;
    Polmera window{programs.locations()};
    MessageRecorder messages;

    LaunchingTest() { fill_fields(); }

    void fill_fields()
    {
        set_field(window, "lnSourcePath", S);
        set_field(window, "lnDestPath", D);
        set_field(window, "lnPolyCount", "5000");
        set_field(window, "lnCount", "E2");
        set_field(window, "lnCount_2", "K3");
        set_field(window, "lnScaleNumber", "W4");
        set_field(window, "lnOffset", "O5");
        set_field(window, "lnGamma", "G6");
    }

    // Triggers an action or clicks a button, by object name.
    void press(const QString &name)
    {
        if (name.startsWith("action"))
            window.findChild<QAction *>(name)->trigger();
        else
            window.findChild<QPushButton *>(name)->click();
    }

    QString source() const { return field(window, "lnSourcePath"); }
    QString merged() const { return programs.locations().merged_file; }
};

struct Expected {
    QString control;
    QStringList run;  // program, then its arguments
    QString sourceAfter;
    QStringList messages;
};

}  // namespace

TEST_F(LaunchingTest, every_action_runs_its_program_chains_and_reports)
{
    const std::vector<Expected> cases{
        {"actionTri_Strip_3", {"Stripline", S, "-tstrip", D}, D, {"FINISHED"}},
        {"actionTri_Unpack", {"Stripline", S, "-notstrip", D}, D, {"FINISHED"}},
        {"actionEdge_Optimize", {"Stripline", S, "-edgeflip", D}, D, {"fINISHED"}},
        {"actionOptmize_Faces", {"Stripline", S, "-orient", D}, D, {"FINISHED"}},
        {"actionOptimize_Vert_Numbers", {"Stripline", S, "-reorder", D}, D, {"FINISHED"}},
        {"actionSmooth_Mesh_2", {"Stripline", S, "-smooth", "E2", D}, D, {"FINISHED"}},
        {"actionAdd_noise", {"Stripline", S, "-noise", "E2", D}, D, {"FINISHED"}},
        {"actionFix_Model", {"Stripline", S, "-rmverts", "-rmfaces", D}, D, {"FINISHED"}},
        {"actionSubdivide", {"Stripline", S, "-subD", D}, D, {"FINISHED"}},
        {"actionSubD_Loop", {"Stripline", S, "-subDloop", D}, D, {"FIUNISHED"}},
        {"actionSubD_Fly", {"Stripline", S, "-subDfly", D}, D, {"FINISHED"}},
        {"actionNorm_Bake", {"bake", S, "normals", D}, D, {"FINISHED"}},
        {"actionAmb_Occ", {"bake", S, "ao", "E2", "K3", D}, D, {"FINISHED"}},
        {"actionCorrect_Coloor", {"bake", S, "colReamp", "W4", "O5", "G6", D}, D, {"FINISHED"}},
        {"btnViewModel", {"PolmeraViewer", S}, S, {}},
        {"btnViewModel_2", {"PolmeraViewer", D}, S, {}},
        {"btnGo", {"Tidegate", "/m/my models/a.obj", D, "5000", "-Hy"}, D, {}},
        {"actionFill_Holes", {"hole", "-c", S, D}, D, {"FINISHED"}},
        {"actionMerge_Meshes", {"merge", S, D, "-o", merged()}, merged(), {"FINISHED"}},
    };
    for (const Expected &e : cases) {
        SCOPED_TRACE(e.control.toStdString());
        fill_fields();
        messages.texts.clear();
        const size_t before = programs.runs().size();
        press(e.control);
        const std::vector<QStringList> runs = programs.runs();
        ASSERT_EQ(runs.size(), before + 1);
        EXPECT_EQ(runs.back(), e.run);
        EXPECT_EQ(source(), e.sourceAfter);
        EXPECT_EQ(field(window, "lnDestPath"), D);
        EXPECT_EQ(messages.texts, e.messages);
    }
    EXPECT_TRUE(QDir(QFileInfo(merged()).path()).exists());
}

TEST_F(LaunchingTest, reduction_passes_the_words_of_the_checked_boxes)
{
    for (const char *box : {"chNormals", "chTopology", "chRepairMesh"})
        QTest::mouseClick(window.findChild<QWidget *>(box), Qt::LeftButton);
    press("btnGo");
    ASSERT_EQ(programs.runs().size(), 1u);
    EXPECT_EQ(programs.runs()[0],
              (QStringList{"Tidegate", "/m/my models/a.obj", D, "5000", "-Nn", "-Ty", "-Hy", "-P"}));
}

TEST_F(LaunchingTest, two_operations_in_a_row_read_the_first_output)
{
    press("actionTri_Strip_3");
    press("actionSmooth_Mesh_2");
    const std::vector<QStringList> runs = programs.runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (QStringList{"Stripline", S, "-tstrip", D}));
    EXPECT_EQ(runs[1], (QStringList{"Stripline", D, "-smooth", "E2", D}));
    EXPECT_EQ(messages.texts, (QStringList{"FINISHED", "FINISHED"}));
}

TEST_F(LaunchingTest, reduction_chains_into_a_following_hole_filling)
{
    press("btnGo");
    press("actionFill_Holes");
    const std::vector<QStringList> runs = programs.runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1], (QStringList{"hole", "-c", D, D}));
}

TEST_F(LaunchingTest, failures_name_the_program_and_keep_the_source)
{
    struct Failure {
        std::function<void(StandInFolder &, const QString &)> arrange;
        QString says;
    };
    const std::vector<Failure> failures{
        {[](StandInFolder &p, const QString &program) { p.remove(program); }, "was not found"},
        {[](StandInFolder &p, const QString &program) { p.forbid(program); }, "could not be started"},
        {[](StandInFolder &p, const QString &program) { p.instruct(program, "crash"); }, "crashed."},
        {[](StandInFolder &p, const QString &program) { p.instruct(program, "3"); }, "ended with exit status 3."},
    };
    // One action of each kind of chaining, and one without.
    const std::vector<std::pair<QString, QString>> actions{
        {"actionTri_Strip_3", "Stripline"}, {"actionMerge_Meshes", "merge"}, {"btnGo", "Tidegate"},
        {"actionFill_Holes", "hole"},       {"btnViewModel", "PolmeraViewer"}};
    for (const Failure &failure : failures) {
        for (const auto &[control, program] : actions) {
            SCOPED_TRACE((control + ": " + failure.says).toStdString());
            StandInFolder folder;
            Polmera fresh{folder.locations()};
            set_field(fresh, "lnSourcePath", S);
            set_field(fresh, "lnDestPath", D);
            failure.arrange(folder, program);
            messages.texts.clear();
            if (control.startsWith("action"))
                fresh.findChild<QAction *>(control)->trigger();
            else
                fresh.findChild<QPushButton *>(control)->click();
            ASSERT_EQ(messages.texts.size(), 1);
            EXPECT_TRUE(messages.texts[0].contains("\"" + program + "\"")) << messages.texts[0].toStdString();
            EXPECT_TRUE(messages.texts[0].contains(failure.says)) << messages.texts[0].toStdString();
            EXPECT_EQ(field(fresh, "lnSourcePath"), S);
            EXPECT_EQ(field(fresh, "lnDestPath"), D);
        }
    }
}

TEST_F(LaunchingTest, a_program_that_fails_once_works_again_after)
{
    programs.instruct("Stripline", "1");
    press("actionTri_Strip_3");
    programs.instruct("Stripline", "0");
    press("actionTri_Strip_3");
    EXPECT_EQ(programs.runs().size(), 2u);
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_TRUE(messages.texts[0].contains("exit status 1"));
    EXPECT_EQ(messages.texts[1], "FINISHED");
    EXPECT_EQ(source(), D);
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

TEST_F(LaunchingTest, while_a_program_runs_the_window_paints_but_takes_no_input)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QLineEdit *dest = window.findChild<QLineEdit *>("lnDestPath");
    PaintCounter counter;
    dest->installEventFilter(&counter);
    programs.instruct("Stripline", "wait");

    bool tried = false, closeRefused = false;
    QTimer poke;
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (programs.runs().empty())
            return;  // not started yet
        if (!tried) {
            tried = true;
            QTest::mouseClick(window.findChild<QPushButton *>("btnGo"), Qt::LeftButton);
            QTest::keyClick(dest, Qt::Key_X);
            closeRefused = !window.close();
            counter.paints = 0;
            dest->update();
        } else if (counter.paints > 0) {
            programs.release();
        }
    });
    poke.start(10);
    press("actionTri_Strip_3");
    poke.stop();

    EXPECT_TRUE(tried);
    EXPECT_GT(counter.paints, 0);
    EXPECT_TRUE(closeRefused);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(programs.runs().size(), 1u);
    EXPECT_EQ(dest->text(), D);
    EXPECT_EQ(messages.texts, QStringList{"FINISHED"});
    // Input works again once the program has ended.
    QTest::keyClick(dest, Qt::Key_End);
    QTest::keyClick(dest, Qt::Key_X);
    EXPECT_EQ(dest->text(), D + "x");
}

namespace {

QByteArray read_all(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write_all(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

}  // namespace

namespace {

// An n x n grid of unit squares in the plane z = 0, each split into two
// triangles, as OBJ text: an open surface whose border is one hole.
QByteArray grid_obj(int n)
{
    QByteArray text;
    for (int y = 0; y <= n; y++)
        for (int x = 0; x <= n; x++)
            text += QByteArray("v ") + QByteArray::number(x) + " " + QByteArray::number(y) + " 0\n";
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            const int a = y * (n + 1) + x + 1, b = a + 1, c = a + n + 2, d = a + n + 1;
            text += "f " + QByteArray::number(a) + " " + QByteArray::number(b) + " " + QByteArray::number(c) + "\n";
            text += "f " + QByteArray::number(a) + " " + QByteArray::number(c) + " " + QByteArray::number(d) + "\n";
        }
    return text;
}

// The count of an element in a PLY header, or -1 when there is none.
int ply_count(const QByteArray &file, const char *element)
{
    const QByteArray key = QByteArray("element ") + element + " ";
    const qsizetype at = file.indexOf(key);
    return at < 0 ? -1 : file.mid(at + key.size(), file.indexOf('\n', at) - at - key.size()).toInt();
}

}  // namespace

TEST(OutsidePrograms, reduction_hole_filling_and_merging_work_with_the_real_tools)
{
    QTemporaryDir dir;
    write_all(dir.filePath("start.obj"), grid_obj(20));
    write_all(dir.filePath("other.obj"), grid_obj(2));
    Polmera window{Locations{POLMERA_BIN_DIR, dir.filePath("ex/OUTPUT.obj"), dir.filePath("ex/MERGED.obj")}};
    MessageRecorder messages;

    // GO: 800 triangles down to at most 100; the borders stay where they are.
    set_field(window, "lnSourcePath", dir.filePath("start.obj"));
    set_field(window, "lnDestPath", dir.filePath("reduced.ply"));
    set_field(window, "lnPolyCount", "100");
    window.findChild<QPushButton *>("btnGo")->click();
    const int reduced = ply_count(read_all(dir.filePath("reduced.ply")), "face");
    EXPECT_GT(reduced, 0);
    EXPECT_LE(reduced, 100);
    EXPECT_EQ(field(window, "lnSourcePath"), dir.filePath("reduced.ply"));

    // Fill Holes: the grid's border is closed with a second layer.
    set_field(window, "lnDestPath", dir.filePath("filled.ply"));
    window.findChild<QAction *>("actionFill_Holes")->trigger();
    const QByteArray filled = read_all(dir.filePath("filled.ply"));
    EXPECT_GT(ply_count(filled, "face"), reduced);
    EXPECT_EQ(field(window, "lnSourcePath"), dir.filePath("filled.ply"));

    // Merge Meshes: the closed grid and a second, separate grid of 8 triangles.
    set_field(window, "lnDestPath", dir.filePath("other.obj"));
    window.findChild<QAction *>("actionMerge_Meshes")->trigger();
    const QByteArray merged = read_all(dir.filePath("ex/MERGED.obj"));
    EXPECT_EQ(merged.count("\nf "), ply_count(filled, "face") + 8);
    EXPECT_EQ(field(window, "lnSourcePath"), dir.filePath("ex/MERGED.obj"));
    EXPECT_EQ(messages.texts, (QStringList{"FINISHED", "FINISHED"}));

    // The reduction reads the OBJ beside a PLY source, which does not exist here.
    set_field(window, "lnSourcePath", dir.filePath("c.ply"));
    window.findChild<QPushButton *>("btnGo")->click();
    ASSERT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(messages.texts[2].contains("\"Tidegate\" ended with exit status 1")) << messages.texts[2].toStdString();
    EXPECT_EQ(field(window, "lnSourcePath"), dir.filePath("c.ply"));
}

TEST(SuitePrograms, every_filter_and_bake_action_works_with_the_real_programs)
{
    // A closed octahedron, so that every filter has something to do; the
    // bakes colour what the filters made.
    QTemporaryDir dir;
    write_all(dir.filePath("start.obj"), "v 1 0 0\nv -1 0 0\nv 0 1 0\nv 0 -1 0\nv 0 0 1\nv 0 0 -1\n"
                                         "f 1 3 5\nf 3 2 5\nf 2 4 5\nf 4 1 5\nf 3 1 6\nf 2 3 6\nf 4 2 6\nf 1 4 6\n");
    Polmera window{Locations{POLMERA_BIN_DIR, dir.filePath("ex/OUTPUT.obj"), dir.filePath("ex/MERGED.obj")}};
    MessageRecorder messages;
    set_field(window, "lnSourcePath", dir.filePath("start.obj"));
    set_field(window, "lnCount", "0.5");

    const struct {
        const char *action;
        const char *message;
        const char *marker;  // what the written PLY header holds
    } steps[] = {
        {"actionTri_Strip_3", "FINISHED", "element tristrips 1"},
        {"actionTri_Unpack", "FINISHED", "element face 8\n"},
        {"actionOptimize_Vert_Numbers", "FINISHED", "element face 8\n"},
        {"actionOptmize_Faces", "FINISHED", "element face 8\n"},
        {"actionEdge_Optimize", "fINISHED", "element face 8\n"},
        {"actionFix_Model", "FINISHED", "element vertex 6\n"},
        {"actionSubdivide", "FINISHED", "element face 32\n"},
        {"actionSubD_Loop", "FIUNISHED", "element face 128\n"},
        {"actionSubD_Fly", "FINISHED", "element face 512\n"},
        {"actionSmooth_Mesh_2", "FINISHED", "element face 512\n"},
        {"actionAdd_noise", "FINISHED", "element face 512\n"},
        {"actionNorm_Bake", "FINISHED", "property uchar diffuse_red\n"},
        {"actionAmb_Occ", "FINISHED", "property uchar diffuse_red\n"},
        {"actionCorrect_Coloor", "FINISHED", "property uchar diffuse_red\n"},
    };
    int n = 0;
    for (const auto &step : steps) {
        SCOPED_TRACE(step.action);
        const QString out = dir.filePath(QString("step%1.ply").arg(++n));
        set_field(window, "lnDestPath", out);
        messages.texts.clear();
        window.findChild<QAction *>(step.action)->trigger();
        EXPECT_EQ(messages.texts, QStringList{step.message});
        EXPECT_EQ(field(window, "lnSourcePath"), out);
        EXPECT_TRUE(read_all(out).contains(step.marker)) << read_all(out).left(300).toStdString();
    }
}
